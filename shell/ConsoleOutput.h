#pragma once

#include <QString>

#include <cstdio>
#include <string_view>

// Standard output and standard error for what the command line prints. On
// Windows the program is a window program, started without a console: a
// stream without a handle of its own is tied to the console of the program
// that started it (cmd, PowerShell), when there is one.
class ConsoleOutput {
public:
    static void AttachParentConsole();
    // The bytes as they are: no line-end translation on any system.
    static bool WriteBytes(std::FILE* stream, std::string_view bytes);
    // A text for a person, one line break per "\n": UTF-8, or the console's
    // own characters when the stream is a Windows console.
    static void WriteText(std::FILE* stream, const QString& text);
};
