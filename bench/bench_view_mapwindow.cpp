// The map window at 10 x 10, 20 x 20, 35 x 35 and 50 x 50: building it (grid
// build plus the first paint into an image), a full repaint, a one-cell click
// with brush "1"; on 50 x 50 also a press with brush "5" and a 100-move drag,
// all driven through the window's own mouse events.
#include "bench/BrushFrame.h"
#include "bench/RunBenchmarks.h"
#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "shell/MemoryReuse.h"
#include "view/MapGridBuilder.h"
#include "view/SectorPainter.h"
#include "view/qt/frmMain.h"

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

BrushFrame frame;

void StartDocument(int width, int height)
{
    MapModule::ResetDocument();
    MapModule::MapWidth = width;
    MapModule::MapHeight = height;
    MapModule::CurrentOwner = 1;
    SectorPainter::PointerPressed = false;
}

void SendMouse(QWidget& target, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, target.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

// A shown MDI area as the frame has; sub-windows come and go inside it.
QMdiArea& Area()
{
    static QMdiArea* area = [] {
        auto* created = new QMdiArea;
        created->resize(1000, 1000);
        created->show();
        QApplication::processEvents();
        return created;
    }();
    return *area;
}

frmMain* OpenMap()
{
    auto* map = new frmMain(MapWindowContext{&frame, nullptr, &MapModule::Ports().cells});
    Area().addSubWindow(map);
    map->show();
    return map->Build() ? map : nullptr;
}

void CloseMap(frmMain* map)
{
    delete map->parentWidget();
    QApplication::processEvents();
}

// A built map window of size x size for a benchmark, or a skip with the reason.
frmMain* OpenMapOrSkip(benchmark::State& state, int size)
{
    StartDocument(size, size);
    frmMain* map = OpenMap();
    if (!map)
        state.SkipWithError("Build failed");
    return map;
}

// Window build: the sub-window, the cell grid for the size and the first
// paint of the whole client area into an image.
void BM_BuildWindow(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    StartDocument(size, size);
    for (auto _ : state) {
        frmMain* map = OpenMap();
        if (!map) {
            state.SkipWithError("Build failed");
            break;
        }
        QImage image(map->size(), QImage::Format_ARGB32_Premultiplied);
        map->render(&image);
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        if (map->Cells().CellCount() != size * size)
            state.SkipWithError("wrong cell count");
        CloseMap(map);
        state.ResumeTiming();
    }
}

// The two halves of the window build on their own: the grid build without a
// paint, and the paint of a built window into an image.
void BM_BuildOnly(benchmark::State& state)
{
    StartDocument(50, 50);
    for (auto _ : state) {
        frmMain* map = OpenMap();
        if (!map) {
            state.SkipWithError("Build failed");
            break;
        }
        state.PauseTiming();
        CloseMap(map);
        state.ResumeTiming();
    }
}

// The cell records alone, without any window.
void BM_CellsOnly(benchmark::State& state)
{
    StartDocument(50, 50);
    for (auto _ : state) {
        CellGrid cells;
        if (!MapGridBuilder::Build(cells, nullptr, {})) {
            state.SkipWithError("Build failed");
            break;
        }
        benchmark::DoNotOptimize(cells.CellCount());
    }
}

// The gradient background a 50 x 50 map window draws when it is sized.
void BM_BackgroundOnly(benchmark::State& state)
{
    frmMain* map = OpenMapOrSkip(state, 50);
    if (!map)
        return;
    QWidget window;
    window.resize(map->size());
    CloseMap(map);
    WindowBackground background(BackgroundKind::MapWindow);
    for (auto _ : state) {
        background.PaintBackground(window);
        benchmark::DoNotOptimize(background.Image().constBits());  // renders the gradient
    }
}

// A full repaint of the shown window (paint event and flush), as after it
// was uncovered.
void BM_Repaint(benchmark::State& state)
{
    frmMain* map = OpenMapOrSkip(state, static_cast<int>(state.range(0)));
    if (!map)
        return;
    QApplication::processEvents();
    for (auto _ : state)
        map->repaint();
    CloseMap(map);
}

// A press and release with brush "1" that changes one cell, then the repaint
// it asked for.
void BM_Click(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    frmMain* map = OpenMapOrSkip(state, size);
    if (!map)
        return;
    frame.brushPosition = 0;
    QApplication::processEvents();
    const int centre = (size / 2) * size + size / 2;
    const QPointF point = map->CellRectPixels(centre).center();
    std::int32_t owner = 1;
    for (auto _ : state) {
        owner = owner == 1 ? 2 : 1;
        MapModule::CurrentOwner = owner;
        SendMouse(*map, QEvent::MouseButtonPress, point, Qt::LeftButton);
        SendMouse(*map, QEvent::MouseButtonRelease, point, Qt::NoButton);
        QApplication::processEvents();
    }
    frame.brushPosition = 4;
    if (MapModule::OwnerGrid.At(centre) != owner)
        state.SkipWithError("the click did not paint the sector");
    CloseMap(map);
}

void BM_FirstPaintOnly(benchmark::State& state)
{
    frmMain* map = OpenMapOrSkip(state, 50);
    if (!map)
        return;
    QApplication::processEvents();
    QImage image(map->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        map->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    CloseMap(map);
}

// One press and release at a sector, then the repaint it asked for.
void BM_PaintAtPoint(benchmark::State& state)
{
    frmMain* map = OpenMapOrSkip(state, 50);
    if (!map)
        return;
    QApplication::processEvents();
    const QPointF point = map->CellRectPixels(25 * 50 + 25).center();
    std::int32_t owner = 1;
    for (auto _ : state) {
        owner = owner == 1 ? 2 : 1;  // every press really changes the cells
        MapModule::CurrentOwner = owner;
        SendMouse(*map, QEvent::MouseButtonPress, point, Qt::LeftButton);
        SendMouse(*map, QEvent::MouseButtonRelease, point, Qt::NoButton);
        QApplication::processEvents();
    }
    if (MapModule::OwnerGrid.At(25 * 50 + 25) != owner)
        state.SkipWithError("the press did not paint the sector");
    CloseMap(map);
}

// A press, 100 moves along a diagonal across the map and a release; the
// event loop runs after every move as it would between pointer events.
void BM_Drag100(benchmark::State& state)
{
    const bool repaint = state.range(0) != 0;
    frmMain* map = OpenMapOrSkip(state, 50);
    if (!map)
        return;
    QApplication::processEvents();
    const QPointF from = map->CellRectPixels(0).center();
    const QPointF to = map->CellRectPixels(44 * 50 + 44).center();
    std::int32_t owner = 1;
    for (auto _ : state) {
        owner = owner == 1 ? 3 : 1;
        MapModule::CurrentOwner = owner;
        SendMouse(*map, QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int m = 1; m <= 100; ++m) {
            SendMouse(*map, QEvent::MouseMove, from + (to - from) * (m / 100.0), Qt::LeftButton);
            if (repaint)
                QApplication::processEvents();
        }
        SendMouse(*map, QEvent::MouseButtonRelease, to, Qt::NoButton);
        QApplication::processEvents();
    }
    if (MapModule::OwnerGrid.At(22 * 50 + 22) != owner || MapModule::OwnerGrid.At(44 * 50 + 44) != owner)
        state.SkipWithError("the drag did not paint along its path");
    state.counters["per_move"] =
        benchmark::Counter(100.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate |
                                                                               benchmark::Counter::kInvert);
    CloseMap(map);
}

}  // namespace

BENCHMARK(BM_BuildWindow)->Name("BuildWindow")->ArgName("size")->Arg(10)->Arg(20)->Arg(35)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint)->Name("Repaint")->ArgName("size")->Arg(10)->Arg(20)->Arg(35)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click)->Name("Click/brush1")->ArgName("size")->Arg(10)->Arg(20)->Arg(35)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildOnly)->Name("BuildWindow/size:50/gridOnly")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellsOnly)->Name("BuildWindow/size:50/cellRecordsOnly")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BackgroundOnly)->Name("BuildWindow/size:50/backgroundOnly")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPaintOnly)->Name("BuildWindow/size:50/paintOnly")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintAtPoint)->Name("PaintAtPoint/50x50/brush5")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Drag100)
    ->Name("Drag100Moves/50x50/brush5")
    ->ArgName("repaintEachMove")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse();
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
