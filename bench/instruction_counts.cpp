// Instruction counts of single user actions, meant to run under
// valgrind --tool=callgrind --instr-atstart=no. Every action is prepared, run
// once to warm up, then run once more with the instrumentation switched on
// only around it; its counts are dumped under the action's name
// (CALLGRIND_DUMP_STATS_AT), which bench/instruction_counts.py reads back.
// Outside valgrind the same actions run and only their names are printed.
// The paint of the map window is measured beside the cheapest Qt route to the
// same picture (PaintFloor), and the two pictures are compared.
#include "bench/BrushFrame.h"
#include "bench/PaintFloor.h"
#include "document/LevelText.h"
#include "document/MapFile.h"
#include "document/MapModule.h"
#include "document/OwnerReplace.h"
#include "shell/MemoryReuse.h"
#include "view/SectorPainter.h"
#include "view/qt/frmMain.h"
#include "viewer/frmOwnData.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTabBar>

#include <valgrind/callgrind.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace {

BrushFrame frame;
bool failed = false;

void Check(bool ok, const std::string& what)
{
    if (!ok) {
        std::fprintf(stderr, "FAILED: %s\n", what.c_str());
        failed = true;
    }
}

// Runs action once to warm up and once counted.
void Count(const std::string& name, const std::function<void()>& prepare, const std::function<void()>& action)
{
    prepare();
    action();
    prepare();
    CALLGRIND_ZERO_STATS;
    CALLGRIND_START_INSTRUMENTATION;
    action();
    CALLGRIND_DUMP_STATS_AT(name.c_str());
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("%s\n", name.c_str());
}

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

// The most colour changes a line can have: no two neighbours share an owner.
void FillStripes(int size)
{
    MapModule::ResetDocument();
    MapModule::MapWidth = size;
    MapModule::MapHeight = size;
    for (int s = 0; s < size * size; ++s)
        MapModule::OwnerGrid.Set(s, s % 7);
}

void SendMouse(QWidget& target, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, target.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

frmMain* OpenMap(QMdiArea& area, int size)
{
    MapModule::ResetDocument();
    MapModule::MapWidth = size;
    MapModule::MapHeight = size;
    auto* map = new frmMain(MapWindowContext{&frame, nullptr, &MapModule::Ports().cells});
    area.addSubWindow(map);
    map->show();
    const bool built = map->Build();
    QApplication::processEvents();
    Check(built, "build " + std::to_string(size));
    return map;
}

void CloseMap(frmMain*& map)
{
    if (map != nullptr)
        delete map->parentWidget();
    map = nullptr;
    QApplication::processEvents();
}

void CountMapWindow(QMdiArea& area, int size)
{
    const std::string scale = std::to_string(size) + "x" + std::to_string(size);
    frmMain* map = nullptr;
    Count("build/" + scale, [&] { CloseMap(map); }, [&] { map = OpenMap(area, size); });

    PaintFloor floor(*map);
    Count("paint/" + scale, [] {}, [&] { map->repaint(); });
    Count("paintFloor/" + scale, [] {}, [&] { floor.repaint(); });
    Check(map->grab().toImage().convertToFormat(QImage::Format_RGB32) ==
              floor.grab().toImage().convertToFormat(QImage::Format_RGB32),
          "the floor paints the same picture, " + scale);

    // One press and release with brush "1" that changes one cell, and its repaint.
    const int centre = (size / 2) * size + size / 2;
    const QPointF point = map->CellRectPixels(centre).center();
    std::int32_t owner = 1;
    frame.brushPosition = 0;
    Count("click/" + scale, [&] { MapModule::CurrentOwner = owner = owner == 1 ? 2 : 1; }, [&] {
        SendMouse(*map, QEvent::MouseButtonPress, point, Qt::LeftButton);
        SendMouse(*map, QEvent::MouseButtonRelease, point, Qt::NoButton);
        QApplication::processEvents();
    });
    Check(MapModule::OwnerGrid.At(centre) == owner, "the click painted its sector, " + scale);

    if (size == 50) {
        // Every sector replaced at once (all hold owner 0 after the build),
        // and the repaint that follows.
        std::int32_t target = 0;
        Count("replaceAll/" + scale, [&] { target = target == 1 ? 0 : 1; }, [&] {
            MapModule::ReplaceOwnerAll(1 - target, target);
            QApplication::processEvents();
        });
        Check(MapModule::OwnerGrid.At(centre) == target, "the replacement reached the centre");

        // A press, 100 moves along a diagonal with brush "5" and a repaint
        // after each, and a release.
        frame.brushPosition = 4;
        const QPointF from = map->CellRectPixels(0).center();
        const QPointF to = map->CellRectPixels(44 * 50 + 44).center();
        Count("drag100/" + scale, [&] { MapModule::CurrentOwner = owner = owner == 1 ? 3 : 1; }, [&] {
            SendMouse(*map, QEvent::MouseButtonPress, from, Qt::LeftButton);
            for (int m = 1; m <= 100; ++m) {
                SendMouse(*map, QEvent::MouseMove, from + (to - from) * (m / 100.0), Qt::LeftButton);
                QApplication::processEvents();
            }
            SendMouse(*map, QEvent::MouseButtonRelease, to, Qt::NoButton);
            QApplication::processEvents();
        });
        Check(MapModule::OwnerGrid.At(22 * 50 + 22) == owner, "the drag painted along its path");
    }
    CloseMap(map);
}

// The first visit of the data viewer's coloured tab.
void CountColouring(int size, bool stripes = false)
{
    if (stripes)
        FillStripes(size);
    else
        FillMap(size);
    frmOwnData* viewer = nullptr;
    Count(
        (stripes ? "colouringStripes/" : "colouring/") + std::to_string(size) + "x" + std::to_string(size),
        [&] {
            delete viewer;
            viewer = new frmOwnData;
            viewer->show();
            QApplication::processEvents();
        },
        [&] {
            viewer->findChild<QTabBar*>(QStringLiteral("TS1"))->setCurrentIndex(1);
            QApplication::processEvents();
        });
    Check(viewer->IsColoured(), "the viewer coloured its text");
    delete viewer;
}

void CountFiles()
{
    FillMap(50);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("gridforge-counts-" + std::to_string(std::random_device{}())))
            .string();
    bool saved = false;
    Count("save/50x50", [] {}, [&] { saved = MapModule::SaveMapFile(path); });
    Check(saved, "save");
    bool loaded = false;
    Count("load/50x50", [] { MapModule::ResetDocument(); }, [&] { loaded = MapModule::LoadMapFile(path); });
    Check(loaded && MapModule::MapWidth == 50, "load");
    std::filesystem::remove(path);
    std::size_t length = 0;
    Count("levelText/50x50", [] {}, [&] { length = MapModule::BuildLevelText().size(); });
    Check(length > 0, "level text");
}

}  // namespace

// Arguments name the groups to count: map, colouring, files (all three
// when none is named).
int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse();
    QApplication app(argc, argv);
    const QStringList named = app.arguments().mid(1);
    const auto wanted = [&](const char* group) { return named.isEmpty() || named.contains(QLatin1String(group)); };
    if (wanted("map")) {
        QMdiArea area;
        area.resize(1000, 1000);
        area.show();
        QApplication::processEvents();
        for (int size : {10, 20, 35, 50})
            CountMapWindow(area, size);
    }
    if (wanted("colouring")) {
        for (int size : {10, 20, 35, 50})
            CountColouring(size);
        CountColouring(50, true);
    }
    if (wanted("files"))
        CountFiles();
    return failed ? 1 : 0;
}
