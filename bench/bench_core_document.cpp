// Reading and writing the map file, building the level-data text of a
// 50 x 50 map and making the map again from that text, with no windows
// attached (all ports null).
#include "document/LevelText.h"
#include "document/LevelTextImport.h"
#include "document/MapFile.h"
#include "document/MapModule.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace {

// A painted-looking 50 x 50 map: every owner used, in runs along the rows.
void FillMap()
{
    MapModule::ResetDocument();
    MapModule::MapWidth = 50;
    MapModule::MapHeight = 50;
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> owner(0, 6), run(1, 8);
    int left = 0, current = 0;
    for (int s = 0; s < 50 * 50; ++s) {
        if (left-- == 0) {
            left = run(random);
            current = owner(random);
        }
        MapModule::OwnerGrid.Set(s, current);
    }
}

// A fresh directory for the bench's files, removed at the end.
class ScratchDir {
public:
    explicit ScratchDir(const std::filesystem::path& parent = std::filesystem::temp_directory_path())
        : path_(parent / ("gridforge-bench-" + std::to_string(std::random_device{}())))
    {
        std::filesystem::create_directories(path_);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Saves to the temporary directory (a disk here) or, with argument 1, to the
// memory file system /dev/shm, where flushing the file costs next to nothing.
void BM_SaveMapFile(benchmark::State& state)
{
    FillMap();
    if (state.range(0) == 1 && !std::filesystem::is_directory("/dev/shm")) {
        state.SkipWithError("no /dev/shm");
        return;
    }
    ScratchDir dir = state.range(0) == 1 ? ScratchDir("/dev/shm") : ScratchDir();
    const std::string path = dir.File("map.kxgf");
    for (auto _ : state) {
        if (!MapModule::SaveMapFile(path)) {
            state.SkipWithError("SaveMapFile failed");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}

void BM_LoadMapFile(benchmark::State& state)
{
    FillMap();
    ScratchDir dir;
    const std::string path = dir.File("map.kxgf");
    if (!MapModule::SaveMapFile(path)) {
        state.SkipWithError("SaveMapFile failed");
        return;
    }
    const std::int32_t expectedLast = MapModule::OwnerGrid.At(50 * 50 - 1);
    for (auto _ : state) {
        MapModule::ResetDocument();
        if (!MapModule::LoadMapFile(path) || MapModule::MapWidth != 50 ||
            MapModule::OwnerGrid.At(50 * 50 - 1) != expectedLast) {
            state.SkipWithError("LoadMapFile did not read the map back");
            break;
        }
    }
}

void BM_BuildLevelText(benchmark::State& state)
{
    FillMap();
    std::size_t length = 0;
    for (auto _ : state) {
        const std::string text = MapModule::BuildLevelText();
        length = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["chars"] = static_cast<double>(length);
}

// The same map as a level file on the disk (the viewer's four sections): read,
// told apart from a map file, and taken as a new map, as the editor opens a
// level text given on its command line or dropped on the frame. Beside
// LoadMapFile of that map's file.
void BM_ImportLevelText(benchmark::State& state)
{
    FillMap();
    ScratchDir dir;
    const std::string path = dir.File("level.txt");
    const std::string text = MapModule::BuildLevelText();
    std::ofstream(path, std::ios::binary) << text;
    const std::int32_t expectedLast = MapModule::OwnerGrid.At(50 * 50 - 1);
    for (auto _ : state) {
        MapModule::ResetDocument();
        if (!MapModule::LoadMapOrLevelText(path) || MapModule::MapWidth != 50 ||
            MapModule::OwnerGrid.At(50 * 50 - 1) != expectedLast) {
            state.SkipWithError("the level text did not read back");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

}  // namespace

BENCHMARK(BM_SaveMapFile)->Name("SaveMapFile/50x50")->ArgName("devshm")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadMapFile)->Name("LoadMapFile/50x50")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ImportLevelText)->Name("ImportLevelText/50x50")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildLevelText)->Name("BuildLevelText/50x50")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
