#include "shell/CommandLine.h"
#include "shell/ConsoleOutput.h"
#include "shell/ExitRequests.h"
#include "shell/GridforgeApplication.h"
#include "shell/MemoryReuse.h"
#include "shell/ScriptRuns.h"
#include "shell/WindowSystemMayStart.h"
#include "shell/frmMDI.h"

#include <QCoreApplication>

#include <optional>

namespace {

// Exit statuses: done, a refused file or a failed write, a wrong command line.
constexpr int Done = 0;
constexpr int WrongCommandLine = 2;

int Refuse(const CommandLine& commandLine)
{
    ConsoleOutput::AttachParentConsole();
    ConsoleOutput::WriteText(stderr, commandLine.RefusalText());
    return WrongCommandLine;
}

// What the command line asks for that needs no window, or nothing. Options
// it does not know may be Qt's: those wait until Qt has taken its own, where
// Qt can start at all.
std::optional<int> RunWithoutWindow(const CommandLine& commandLine, const QStringList& arguments)
{
    switch (commandLine.action) {
    case CommandLine::Action::Start:
    case CommandLine::Action::OpenMapFile:
        return std::nullopt;
    case CommandLine::Action::Refuse:
        if (commandLine.unknownOptionsOnly && WindowSystemMayStart(arguments))
            return std::nullopt;
        return Refuse(commandLine);
    default:
        break;
    }
    ConsoleOutput::AttachParentConsole();
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
        ConsoleOutput::WriteText(stdout, CommandLine::HelpText());
        return Done;
    case CommandLine::Action::ShowVersion:
        ConsoleOutput::WriteText(stdout, CommandLine::VersionText());
        return Done;
    case CommandLine::Action::WriteLevelText:
        return ScriptRuns::WriteLevelText(commandLine);
    case CommandLine::Action::WriteMapFromLevelText:
        return ScriptRuns::WriteMapFromLevelText(commandLine);
    default:
        return std::nullopt;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    KeepLargeBlocksForReuse();
    CommandLine commandLine;
    {
        // The command line is read before any window, by a core application
        // that connects to no display: the help, the version, a refusal and
        // the runs for scripts need none.
        const QCoreApplication core(argc, argv);
        commandLine = CommandLine::Parse(QCoreApplication::arguments());
        if (const std::optional<int> status = RunWithoutWindow(commandLine, QCoreApplication::arguments()))
            return *status;
    }

    // Qt takes its own options (-platform, -style, -session, ...) out of the
    // arguments here; what is left must be the editor's.
    GridforgeApplication app(argc, argv);
    if (commandLine.unknownOptionsOnly) {
        commandLine = CommandLine::Parse(QCoreApplication::arguments());
        if (commandLine.action == CommandLine::Action::Refuse)
            return Refuse(commandLine);
    }
    frmMDI frame;
    // Signals and the session's end ask like the frame's close box, from the
    // size dialog at start on.
    ExitRequests exitRequests(frame);
    frame.Load(commandLine.mapFile);
    if (exitRequests.Granted())
        return 0;
    frame.show();
    return app.exec();
}
