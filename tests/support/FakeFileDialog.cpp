#include "support/FakeFileDialog.h"

namespace {
std::optional<std::string> Next(std::deque<std::optional<std::string>>& script)
{
    if (script.empty())
        return std::nullopt;
    std::optional<std::string> path = script.front();
    script.pop_front();
    return path;
}
}  // namespace

std::optional<std::string> FakeFileDialog::ChooseSavePath()
{
    ++saveShown;
    return Next(savePaths);
}

std::optional<std::string> FakeFileDialog::ChooseOpenPath()
{
    ++openShown;
    return Next(openPaths);
}
