#include "shell/CommandLine.h"
#include "shell/ConsoleOutput.h"
#include "shell/ExitRequests.h"
#include "shell/GridforgeApplication.h"
#include "shell/LevelTextExport.h"
#include "shell/MemoryReuse.h"
#include "shell/frmMDI.h"

#include <QCoreApplication>

#include <optional>
#include <string>

namespace {

// Exit statuses: done, a refused file or a failed write, a wrong command line.
constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int WrongCommandLine = 2;

// The level text of the map file, to standard output or to the -o file.
int WriteLevelText(const CommandLine& commandLine)
{
    const LevelTextExport::Result result = LevelTextExport::FromMapFile(commandLine.mapFile.toStdString());
    if (!result.text) {
        ConsoleOutput::WriteText(stderr, QString::fromStdString(result.message).replace("\r\n", "\n") + "\n");
        return Failed;
    }
    if (commandLine.outputFile.isEmpty()) {
        if (ConsoleOutput::WriteBytes(stdout, *result.text))
            return Done;
        ConsoleOutput::WriteText(stderr, "gridforge: 標準出力に書き込めません (standard output cannot be written)\n");
        return Failed;
    }
    const std::optional<std::string> failure = LevelTextExport::Save(commandLine.outputFile.toStdString(), *result.text);
    if (failure)
        ConsoleOutput::WriteText(stderr, QString::fromStdString(*failure) + "\n");
    return failure ? Failed : Done;
}

// What the command line asks for that needs no window, or nothing.
std::optional<int> RunWithoutWindow(const CommandLine& commandLine)
{
    if (commandLine.action == CommandLine::Action::Start || commandLine.action == CommandLine::Action::OpenMapFile)
        return std::nullopt;
    ConsoleOutput::AttachParentConsole();
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
        ConsoleOutput::WriteText(stdout, CommandLine::HelpText());
        return Done;
    case CommandLine::Action::ShowVersion:
        ConsoleOutput::WriteText(stdout, CommandLine::VersionText());
        return Done;
    case CommandLine::Action::Refuse:
        ConsoleOutput::WriteText(stderr, commandLine.RefusalText());
        return WrongCommandLine;
    case CommandLine::Action::WriteLevelText:
        return WriteLevelText(commandLine);
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
        // the level text need none.
        const QCoreApplication core(argc, argv);
        commandLine = CommandLine::Parse(QCoreApplication::arguments());
        if (const std::optional<int> status = RunWithoutWindow(commandLine))
            return *status;
    }

    // Qt takes its own options (-platform, -style, -session, ...) from here.
    GridforgeApplication app(argc, argv);
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
