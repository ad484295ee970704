#pragma once

#include <QStringList>

// While it lives, the toolkit finds no plugins: its library folders are empty,
// and they come back as they were when it ends. For the few steps of the
// start-up that read pictures the program does not show yet (the menu bar
// asks the style for standard icons as it is made); reading any of them would
// make the toolkit load every image plugin installed, to ask each whether it
// reads the picture, before the size dialog is on the screen.
class ImagePluginsSetAside {
public:
    ImagePluginsSetAside();
    ~ImagePluginsSetAside();
    ImagePluginsSetAside(const ImagePluginsSetAside&) = delete;
    ImagePluginsSetAside& operator=(const ImagePluginsSetAside&) = delete;

private:
    QStringList folders_;
};
