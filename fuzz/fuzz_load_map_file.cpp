// Loads any bytes as a map file through the document routine, with the port
// fakes of the tests standing in for the windows, and checks that a refused
// file changes nothing and an accepted one leaves a consistent document.
#include "document/MapFile.h"
#include "document/MapFileReader.h"
#include "document/MapModule.h"
#include "document/OwnerTable.h"
#include "support/MapFileFakes.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "map file load: %s\n", what);
        std::abort();
    }
}

const std::string& FilePath()
{
    static const std::string path = [] {
        char pattern[] = "/tmp/gridforge-fuzz-XXXXXX";
        const char* dir = ::mkdtemp(pattern);
        Check(dir != nullptr, "no temporary folder");
        return std::string(dir) + "/map.kxgf";
    }();
    return path;
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Check(fd >= 0, "cannot create the input file");
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        Check(written > 0, "cannot write the input file");
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    ::close(fd);
}

int StartOwner(int s) { return (s * 5 + 3) % 7; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace MapModule;
    const std::string& path = FilePath();
    WriteFile(path, data, size);

    MapFileFakes fakes;
    fakes.Install();
    fakes.lockBox->Preset(size % 2 == 0 ? 1 : 0);
    fakes.ShowMap(12, 9, StartOwner);
    const FakeMessageBox& messages = *fakes.messages;
    const FakeLockBox& lockBox = *fakes.lockBox;
    FakeMapWindow* window = fakes.window.get();
    // Now and then the open map refuses to close (the user keeps it).
    const bool refuseClose = size % 3 == 0;
    CurrentFileName = "earlier.kxgf";
    const OwnerGridArray before = OwnerGrid;
    const int lockBefore = lockBox.Value();
    window->refuseClose = refuseClose;

    const bool loaded = LoadMapFile(path);
    const MapFileReader::Result file =
        MapFileReader::Read(std::string_view(reinterpret_cast<const char*>(data), size));

    if (!loaded) {
        const bool fits = file.width && file.height && *file.width >= 0 && *file.height >= 0 &&
                          std::int64_t{*file.width} * *file.height <= OwnerGridArray::Capacity;
        const bool kept = file.headerOk && fits && file.lock && refuseClose;
        Check(messages.Count() == (kept ? 0 : 1), "a refused file shows one message, a kept map none");
        if (!kept)
            Check(messages.Calls()[0].title == "中止", "refusal title");
        Check(MapWidth == 12 && MapHeight == 9, "a refused file changed the sizes");
        Check(lockBox.Value() == lockBefore, "a refused file changed the lock");
        Check(kept || lockBox.handlerRuns == 0, "a refused file ran the lock");
        for (int s = 0; s < OwnerGridArray::Capacity; ++s)
            Check(OwnerGrid.At(s) == before.At(s), "a refused file changed the grid");
        Check(CurrentFileName == "earlier.kxgf", "a refused file changed the file name");
        Check(window->openCalls == 0, "a refused file rebuilt the window");
        RecordingCells* cells = window->Cells();
        Check(cells != nullptr && cells->OutOfRangeCalls() == 0, "the kept map lost its cells");
        for (int s = 0; kept && s < cells->CellCount(); ++s) {
            const std::int32_t owner = OwnerGrid.At(s);
            Check(!IsOwner(owner) || cells->At(s).color == OwnerTable[static_cast<std::size_t>(owner)].cellColor,
                  "a kept map shows other owners than its grid");
        }
    } else {
        Check(!refuseClose, "loaded although the open map refused to close");
        Check(messages.Count() == 0, "an accepted file showed a message");
        Check(file.headerOk && file.width && file.height && file.lock, "accepted without sizes");
        Check(MapWidth == *file.width && MapHeight == *file.height, "sizes differ from the file");
        Check(MapWidth >= 0 && MapHeight >= 0 && SectorCount() <= OwnerGridArray::Capacity,
              "accepted sizes do not fit the grid");
        for (int s = 0; s < OwnerGridArray::Capacity; ++s) {
            const std::size_t i = static_cast<std::size_t>(s);
            const std::int32_t expected = i < file.owners.size() ? file.owners[i] : 0;
            // The lock ring of the new window may have set an entry to 0.
            Check(OwnerGrid.At(s) == expected || OwnerGrid.At(s) == 0, "grid differs from the file");
        }
        Check(CurrentFileName == path, "file name not taken");
        if (RecordingCells* cells = window->Cells()) {
            Check(cells->OutOfRangeCalls() == 0, "a cell outside the map was touched");
            Check(cells->CellCount() == SectorCount(), "cell count differs from the sizes");
        }
    }
    fakes.Remove();
    return 0;
}
