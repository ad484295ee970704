#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

// Map files built to order, good or bad, line by line: each line ends in CR LF,
// as the editor writes them.
namespace MapFileText {
// The first line of every map file, with its line end.
extern const QByteArray Header;

// The lines, each followed by CR LF.
QByteArray Lines(const QList<QByteArray>& lines);
// The header, then the lines: MapFileText::File({"3,2", "0", "1", ...}).
QByteArray File(const QList<QByteArray>& lines);
// count owner lines, owners first, first + 1, ... taken round the seven owners.
QByteArray Owners(int count, int first = 0);
// A whole map file: the size line, the lock value, then ownerAt(s) for every sector.
QByteArray Map(int width, int height, int lock, const std::function<int(int)>& ownerAt);
// A level file as a text editor keeps it: Shift_JIS text before and after the
// own_map section, ownerAt(s) for every sector, every line ending in LF.
QByteArray LevelFile(int width, int height, const std::function<int(int)>& ownerAt);
}  // namespace MapFileText
