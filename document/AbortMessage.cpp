#include "document/AbortMessage.h"

#include "document/MapModule.h"

namespace MapModule {

void ShowAbort(const std::string& text)
{
    if (MessageBoxPort* messages = Ports().messages)
        messages->Show(text, "中止", MessageButtons::Ok, MessageIcon::Error, MessageAnswer::Ok);
}

std::string Shown(const std::string& path)
{
    const ShownPathPort* shownPaths = Ports().shownPaths;
    return shownPaths ? shownPaths->ShownPath(path) : path;
}

}  // namespace MapModule
