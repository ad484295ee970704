// Colouring the own_map text: the one-scan colouring against the step-by-step
// procedure on a recording port and on a real QTextEdit, and the first visit
// of a shown viewer's coloured tab at 10 x 10 to 50 x 50.
//
// Instruction counts of the first visit alone: run under
//   valgrind --tool=callgrind --collect-atstart=no bench_viewer_colouring
//     --benchmark_filter='ViewerFirstVisit/size:50$'
// and divide the total by the iterations reported; only the visits are
// collected, after one warm-up visit.
#include "bench/RunBenchmarks.h"
#include "document/LevelText.h"
#include "document/MapModule.h"
#include "document/OwnMapColoring.h"
#include "shell/MemoryReuse.h"
#include "support/ColorOwnMapTextLiteral.h"
#include "viewer/QtRichTextPort.h"
#include "viewer/frmOwnData.h"

#include <QApplication>
#include <QProgressBar>
#include <QTabBar>
#include <QTextEdit>

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Owner regions around seed points, as a painted map looks: about one seed
// per 200 sectors.
void FillRealisticMap(int size)
{
    MapModule::ResetDocument();
    MapModule::MapWidth = size;
    MapModule::MapHeight = size;
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> coordinate(0, size - 1), owner(0, 6);
    struct Seed { int x, y, owner; };
    std::vector<Seed> seeds;
    for (int n = 0; n < std::max(3, size * size / 200); ++n)
        seeds.push_back({coordinate(random), coordinate(random), owner(random)});
    const auto distance = [](const Seed& seed, int x, int y) {
        return (seed.x - x) * (seed.x - x) + (seed.y - y) * (seed.y - y);
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Seed* nearest = &seeds.front();
            for (const Seed& seed : seeds)
                if (distance(seed, x, y) < distance(*nearest, x, y))
                    nearest = &seed;
            MapModule::OwnerGrid.Set(y * size + x, nearest->owner);
        }
}

QString DisplayedOwnMapText()
{
    return QString::fromStdString(MapModule::BuildOwnMapText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

class RecordingPort : public RichTextPort {
public:
    explicit RecordingPort(std::u16string text) : text_(std::move(text)), colors_(text_.size()) {}
    std::u16string Text() const override { return text_; }
    int Length() const override { return static_cast<int>(text_.size()); }
    int Find(const std::u16string& token, int start) override
    {
        const auto found = text_.find(token, static_cast<std::size_t>(start));
        return found == std::u16string::npos ? -1 : static_cast<int>(found);
    }
    void Select(int start, int length) override { start_ = start, length_ = length; }
    void SetSelectionColor(ColorWord color) override
    {
        for (int c = start_; c < start_ + length_; ++c)
            colors_[static_cast<std::size_t>(c)] = color.value;
    }
    void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
    void AddProgress(int amount) override { value_ += amount; }
    void ShowProgress() override {}
    void HideProgress() override {}
    std::int64_t value_ = 0;

private:
    std::u16string text_;
    std::vector<std::uint32_t> colors_;
    int start_ = 0, length_ = 0, maximum_ = 0;
};

template <void (*Colour)(RichTextPort&)>
void BM_RecordingPort(benchmark::State& state)
{
    FillRealisticMap(static_cast<int>(state.range(0)));
    const std::u16string text = DisplayedOwnMapText().toStdU16String();
    for (auto _ : state) {
        RecordingPort port(text);
        Colour(port);
        benchmark::DoNotOptimize(port.value_);
    }
    state.counters["chars"] = static_cast<double>(text.size());
}

// Colours a fresh copy of the 50 x 50 text in a QTextEdit through the port the
// viewer uses.
template <bool Fast>
void BM_TextEdit(benchmark::State& state)
{
    const bool visible = state.range(0) != 0;
    FillRealisticMap(50);
    const QString text = DisplayedOwnMapText();
    QTextEdit box;
    box.setLineWrapMode(QTextEdit::NoWrap);
    box.document()->setUndoRedoEnabled(false);
    box.resize(505, 402);
    QProgressBar bar;
    if (visible)
        box.show();
    for (auto _ : state) {
        state.PauseTiming();
        box.setPlainText(text);
        bar.setRange(0, 100);
        bar.setValue(0);
        QApplication::processEvents();
        state.ResumeTiming();
        QtRichTextPort port(box, bar);
        if (Fast)
            ColorOwnMapTextFast(port);
        else
            ColorOwnMapTextLiteral(port);
        QApplication::processEvents();  // let a shown box lay out and paint
    }
    state.counters["progress"] = bar.value();
}

// The coloured tab chosen the first time, until the window has painted it.
[[gnu::noinline]] void VisitColouredTab(frmOwnData& viewer)
{
    CALLGRIND_TOGGLE_COLLECT;
    viewer.findChild<QTabBar*>(QStringLiteral("TS1"))->setCurrentIndex(1);
    QApplication::processEvents();
    CALLGRIND_TOGGLE_COLLECT;
}

frmOwnData* ShownViewer()
{
    auto* viewer = new frmOwnData;
    viewer->show();
    QApplication::processEvents();
    return viewer;
}

// The whole first visit of the coloured tab in a shown viewer window, each
// in a fresh window; one untimed visit first loads fonts and caches.
void BM_ViewerFirstVisit(benchmark::State& state)
{
    FillRealisticMap(static_cast<int>(state.range(0)));
    {
        frmOwnData* warmUp = ShownViewer();
        warmUp->findChild<QTabBar*>(QStringLiteral("TS1"))->setCurrentIndex(1);
        QApplication::processEvents();
        delete warmUp;
    }
    for (auto _ : state) {
        state.PauseTiming();
        frmOwnData* viewer = ShownViewer();
        state.ResumeTiming();
        VisitColouredTab(*viewer);
        state.PauseTiming();
        if (!viewer->IsColoured())
            state.SkipWithError("the tab was not coloured");
        delete viewer;
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_RecordingPort<ColorOwnMapTextFast>)
    ->Name("Fast/RecordingPort")
    ->ArgName("size")
    ->Arg(10)->Arg(20)->Arg(35)->Arg(50)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordingPort<ColorOwnMapTextLiteral>)
    ->Name("Literal/RecordingPort")
    ->ArgName("size")
    ->Arg(50)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextEdit<true>)->Name("Fast/QTextEdit")->ArgName("visible")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextEdit<false>)
    ->Name("Literal/QTextEdit")
    ->ArgName("visible")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerFirstVisit)
    ->Name("Fast/ViewerFirstVisit")
    ->ArgName("size")
    ->Arg(10)->Arg(20)->Arg(35)->Arg(50)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse();
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
