#include "shell/ConsoleOutput.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#ifdef Q_OS_WIN
namespace {

bool HasHandle(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The console behind a stream, or null when it goes to a file or a pipe.
HANDLE ConsoleOf(std::FILE* stream)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace
#endif

void ConsoleOutput::AttachParentConsole()
{
#ifdef Q_OS_WIN
    const bool out = HasHandle(STD_OUTPUT_HANDLE);
    const bool err = HasHandle(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!out && std::freopen("CONOUT$", "w", stdout) != nullptr)
        SetStdHandle(STD_OUTPUT_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout))));
    if (!err && std::freopen("CONOUT$", "w", stderr) != nullptr)
        SetStdHandle(STD_ERROR_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stderr))));
#endif
}

bool ConsoleOutput::WriteBytes(std::FILE* stream, std::string_view bytes)
{
#ifdef Q_OS_WIN
    std::fflush(stream);
    _setmode(_fileno(stream), _O_BINARY);
#endif
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    return std::fflush(stream) == 0 && written;
}

void ConsoleOutput::WriteText(std::FILE* stream, const QString& text)
{
#ifdef Q_OS_WIN
    if (const HANDLE console = ConsoleOf(stream)) {
        std::fflush(stream);
        const std::wstring wide = QString(text).replace('\n', QStringLiteral("\r\n")).toStdWString();
        DWORD written = 0;
        WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // A file or a pipe: UTF-8 with the system's own line ends.
    const QByteArray bytes = QString(text).replace('\n', QStringLiteral("\r\n")).toUtf8();
#else
    const QByteArray bytes = text.toUtf8();
#endif
    WriteBytes(stream, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
