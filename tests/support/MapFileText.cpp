#include "support/MapFileText.h"

namespace MapFileText {

const QByteArray Header = "KX-GRIDFORGE@VER1.00\r\n";

QByteArray Lines(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

QByteArray File(const QList<QByteArray>& lines) { return Header + Lines(lines); }

QByteArray Owners(int count, int first)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number((first + i) % 7) + "\r\n";
    return bytes;
}

QByteArray Map(int width, int height, int lock, const std::function<int(int)>& ownerAt)
{
    QByteArray bytes = File({QByteArray::number(width) + "," + QByteArray::number(height), QByteArray::number(lock)});
    for (int s = 0; s < width * height; ++s)
        bytes += QByteArray::number(ownerAt(s)) + "\r\n";
    return bytes;
}

QByteArray LevelFile(int width, int height, const std::function<int(int)>& ownerAt)
{
    const QByteArray title = "; \x8f\xe9\x82\xcc\x83\x8c\x83x\x83\x8b\n";  // "; 城のレベル" in Shift_JIS
    QByteArray bytes = title + "own_map= \n" + QByteArray::number(width) + " " + QByteArray::number(height) + "\n";
    for (int s = 0; s < width * height; ++s)
        bytes += "0" + QByteArray::number(ownerAt(s)) + (s % width == width - 1 ? " \n" : " ");
    return bytes + "\n" + title;
}

}  // namespace MapFileText
