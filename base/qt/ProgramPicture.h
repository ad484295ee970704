#pragma once

#include <QPixmap>
#include <QString>

// One of the program's own pictures (a PNG among its resources), decoded by
// the toolkit's own PNG reader. Naming the format is not enough for that: a
// reader that may guess formats first loads every image plugin installed and
// asks each whether it reads PNG, which costs a start-up more than the whole
// size dialog. This one guesses nothing.
QPixmap ProgramPicture(const QString& resource);
