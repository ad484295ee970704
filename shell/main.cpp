#include "shell/CommandLine.h"
#include "shell/ExitRequests.h"
#include "shell/GridforgeApplication.h"
#include "shell/MemoryReuse.h"
#include "shell/frmMDI.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    KeepLargeBlocksForReuse();
    // The usage text and the refusal need no display: decide before the
    // application object connects to one.
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Action action = CommandLine::Parse(given).action;
    if (action == CommandLine::Action::ShowUsage || action == CommandLine::Action::Refuse) {
        std::fputs(CommandLine::Usage, action == CommandLine::Action::ShowUsage ? stdout : stderr);
        return action == CommandLine::Action::ShowUsage ? 0 : 2;
    }

    GridforgeApplication app(argc, argv);
    // The application's arguments carry file names in full on every system.
    const CommandLine commandLine = CommandLine::Parse(GridforgeApplication::arguments());
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
