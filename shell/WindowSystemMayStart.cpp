#include "shell/WindowSystemMayStart.h"

#include <QtGlobal>

bool WindowSystemMayStart(const QStringList& arguments)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    // A platform or an X display named on the command line.
    for (QString argument : arguments) {
        if (argument.startsWith(QLatin1String("--")))
            argument.remove(0, 1);
        if (argument == QLatin1String("-platform") || argument == QLatin1String("-display"))
            return true;
    }
    return false;
#else
    Q_UNUSED(arguments);
    return true;
#endif
}
