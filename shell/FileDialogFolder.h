#pragma once

#include <QString>

// Where the open and save dialogs start: the folder of the map last opened or
// saved in this run (CurrentFileName), while it is there; else the user's
// documents folder, else the home folder. Never the process's current folder,
// which the user of a program started from a menu or a file never chose.
QString FileDialogFolder();
