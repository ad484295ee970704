#include "shell/ImagePluginsSetAside.h"

#include <QCoreApplication>

ImagePluginsSetAside::ImagePluginsSetAside() : folders_(QCoreApplication::libraryPaths())
{
    QCoreApplication::setLibraryPaths({});
}

ImagePluginsSetAside::~ImagePluginsSetAside() { QCoreApplication::setLibraryPaths(folders_); }
