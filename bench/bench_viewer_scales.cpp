// The first visit of the data viewer's coloured tab at 10 x 10, 20 x 20,
// 35 x 35 and 50 x 50: a shown viewer, its second tab chosen, until the
// event loop has painted the coloured text.
#include "bench/RunBenchmarks.h"
#include "document/MapModule.h"
#include "document/viewer/frmOwnData.h"
#include "shell/MemoryReuse.h"

#include <QApplication>
#include <QTabBar>

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

namespace {

// A painted-looking map: every owner used, in runs along the rows.
void FillMap(int size)
{
    MapModule::ResetDocument();
    MapModule::MapWidth = size;
    MapModule::MapHeight = size;
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> owner(0, 6), run(1, 8);
    int left = 0, current = 0;
    for (int s = 0; s < size * size; ++s) {
        if (left-- == 0) {
            left = run(random);
            current = owner(random);
        }
        MapModule::OwnerGrid.Set(s, current);
    }
}

void BM_FirstVisit(benchmark::State& state)
{
    FillMap(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto* viewer = new frmOwnData;
        viewer->show();
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        viewer->findChild<QTabBar*>(QStringLiteral("TS1"))->setCurrentIndex(1);
        QApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        const bool coloured = viewer->IsColoured();
        delete viewer;
        if (!coloured) {
            state.SkipWithError("the viewer did not colour its text");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_FirstVisit)
    ->Name("ColouredTabFirstVisit")
    ->ArgName("size")
    ->Arg(10)
    ->Arg(20)
    ->Arg(35)
    ->Arg(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse();
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
