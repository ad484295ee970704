// Colouring the own_map text of a 50 x 50 map: the step-by-step procedure
// against the one-scan colouring, on a recording port and on a real QTextEdit.
#include "bench/RunBenchmarks.h"
#include "document/LevelText.h"
#include "document/MapModule.h"
#include "document/OwnMapColoring.h"
#include "document/viewer/QtRichTextPort.h"
#include "document/viewer/frmOwnData.h"
#include "shell/MemoryReuse.h"
#include "support/ColorOwnMapTextLiteral.h"

#include <QApplication>
#include <QProgressBar>
#include <QTabBar>
#include <QTextCursor>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Owner regions around a dozen seed points, as a painted map looks.
void FillRealisticMap()
{
    MapModule::ResetDocument();
    MapModule::MapWidth = 50;
    MapModule::MapHeight = 50;
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> coordinate(0, 49), owner(0, 6);
    struct Seed { int x, y, owner; };
    std::vector<Seed> seeds;
    for (int n = 0; n < 12; ++n)
        seeds.push_back({coordinate(random), coordinate(random), owner(random)});
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const Seed* nearest = &seeds.front();
            for (const Seed& seed : seeds)
                if ((seed.x - x) * (seed.x - x) + (seed.y - y) * (seed.y - y) <
                    (nearest->x - x) * (nearest->x - x) + (nearest->y - y) * (nearest->y - y))
                    nearest = &seed;
            MapModule::OwnerGrid.Set(y * 50 + x, nearest->owner);
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
    FillRealisticMap();
    const std::u16string text = DisplayedOwnMapText().toStdU16String();
    for (auto _ : state) {
        RecordingPort port(text);
        Colour(port);
        benchmark::DoNotOptimize(port.value_);
    }
    state.counters["chars"] = static_cast<double>(text.size());
}

// Colours a fresh copy of the text in a QTextEdit; the fast colouring runs in
// one edit block as the viewer does, the step-by-step one without.
template <bool Fast>
void BM_TextEdit(benchmark::State& state)
{
    const bool visible = state.range(0) != 0;
    FillRealisticMap();
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
        if (Fast) {
            QTextCursor batch(box.document());
            batch.beginEditBlock();
            ColorOwnMapTextFast(port);
            batch.endEditBlock();
        } else {
            ColorOwnMapTextLiteral(port);
        }
        QApplication::processEvents();  // let a shown box lay out and paint
    }
    state.counters["progress"] = bar.value();
}

// The whole first visit of the coloured tab in a shown viewer window.
void BM_ViewerFirstVisit(benchmark::State& state)
{
    FillRealisticMap();
    for (auto _ : state) {
        state.PauseTiming();
        auto* viewer = new frmOwnData;
        viewer->show();
        QApplication::processEvents();
        auto* tabs = viewer->findChild<QTabBar*>(QStringLiteral("TS1"));
        state.ResumeTiming();
        tabs->setCurrentIndex(1);
        QApplication::processEvents();
        state.PauseTiming();
        delete viewer;
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_RecordingPort<ColorOwnMapTextFast>)->Name("Fast/RecordingPort")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordingPort<ColorOwnMapTextLiteral>)->Name("Literal/RecordingPort")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextEdit<true>)->Name("Fast/QTextEdit")->ArgName("visible")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextEdit<false>)
    ->Name("Literal/QTextEdit")
    ->ArgName("visible")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerFirstVisit)->Name("Fast/ViewerFirstVisit")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    KeepLargeBlocksForReuse();
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
