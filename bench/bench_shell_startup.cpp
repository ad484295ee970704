// Start-up to the shown map size dialog: in this process (frame window
// construction and Load() until the dialog's show event) and as a whole new
// process (this program started again with --startup-child, which builds the
// application object, the frame and calls Load(), and prints a line when the
// dialog is shown). The dialog is closed with Cancel right after it shows.
#include "bench/RunBenchmarks.h"
#include "dialogs/frmMapSelect.h"
#include "document/MapModule.h"
#include "shell/GridforgeApplication.h"
#include "shell/MemoryReuse.h"
#include "shell/frmMDI.h"

#include <QEvent>
#include <QMetaObject>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

// Calls back once per show of the size dialog, then cancels the dialog.
class DialogShowWatch : public QObject {
public:
    explicit DialogShowWatch(std::function<void()> onShown) : onShown_(std::move(onShown))
    {
        qApp->installEventFilter(this);
    }
    ~DialogShowWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<frmMapSelect*>(watched)) {
                onShown_();
                QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onShown_;
};

void BM_StartupInProcess(benchmark::State& state)
{
    Clock::time_point shownAt;
    bool shown = false;
    DialogShowWatch watch([&] {
        shownAt = Clock::now();
        shown = true;
    });
    for (auto _ : state) {
        MapModule::ResetDocument();
        shown = false;
        const Clock::time_point start = Clock::now();
        {
            frmMDI frame;
            frame.Load();
            frame.show();
            QApplication::processEvents();
        }
        if (!shown) {
            state.SkipWithError("the size dialog was not shown");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shownAt - start).count());
    }
}

void BM_StartupProcess(benchmark::State& state)
{
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const Clock::time_point start = Clock::now();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--startup-child")});
        QByteArray line;
        while (!line.contains('\n') && child.waitForReadyRead(10000))
            line += child.readAllStandardOutput();
        const Clock::time_point end = Clock::now();
        child.waitForFinished(10000);
        if (!line.startsWith("shown")) {
            state.SkipWithError("the child did not show the size dialog");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

// The program's own start-up, reporting the moment the size dialog shows.
int RunStartupChild(int argc, char** argv)
{
    GridforgeApplication app(argc, argv);
    DialogShowWatch watch([] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
    });
    frmMDI frame;
    frame.Load();
    return 0;
}

}  // namespace

BENCHMARK(BM_StartupInProcess)->Name("Startup/InProcess")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupProcess)
    ->Name("Startup/NewProcess")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse();
    if (argc > 1 && std::strcmp(argv[1], "--startup-child") == 0)
        return RunStartupChild(argc, argv);
    GridforgeApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
