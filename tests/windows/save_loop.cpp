// Saves a 50 x 50 map to the path given, over and over, through the program's
// own save; the map alternates between two that differ in sector 0 (owner 6,
// then owner 1; sector s > 0 holds s % 7). Prints "saving" once the first save
// is done, then saves until it is killed (scripts/windows/killed_save.py).
// With a count after the path it makes that many saves and prints the time
// of one in microseconds instead.
#include "document/MapFile.h"
#include "document/MapModule.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3)
        return 2;
    const std::string path = argv[1];
    const long count = argc == 3 ? std::atol(argv[2]) : -1;
    MapModule::MapWidth = 50;
    MapModule::MapHeight = 50;
    for (int s = 1; s < 2500; ++s)
        MapModule::OwnerGrid.Set(s, s % 7);
    const auto start = std::chrono::steady_clock::now();
    for (long round = 0; count < 0 || round < count; ++round) {
        MapModule::OwnerGrid.Set(0, round % 2 ? 1 : 6);
        if (!MapModule::SaveMapFile(path))
            return 1;
        if (round == 0 && count < 0) {
            std::puts("saving");
            std::fflush(stdout);
        }
    }
    const auto each = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    std::printf("%lld\n", static_cast<long long>(each.count() / (count > 0 ? count : 1)));
    return 0;
}
