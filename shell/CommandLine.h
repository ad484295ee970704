#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: nothing (the size dialog comes first), one
// map file to open at start, the usage text, or a refusal with the usage text.
struct CommandLine {
    enum class Action { Start, OpenMapFile, ShowUsage, Refuse };

    Action action = Action::Start;
    QString mapFile;  // absolute, for OpenMapFile

    // arguments as QCoreApplication::arguments() gives them, the program first.
    static CommandLine Parse(const QStringList& arguments);
    static const char* const Usage;
};
