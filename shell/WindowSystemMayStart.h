#pragma once

#include <QStringList>

// Whether the toolkit may find a window system to start on. Without one it
// ends the program at once, before it has read its own options; a command
// line that is waiting for it to do so is then refused as it stands.
bool WindowSystemMayStart(const QStringList& arguments);
