#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Files on disk as the tests set them up and read them back.
namespace TestFiles {
// The file's bytes; empty when it cannot be read.
QByteArray Read(const QString& path);
// Writes the bytes over the file; false when it cannot: QVERIFY(TestFiles::Write(...)).
bool Write(const QString& path, const QByteArray& bytes);
// Every name in the folder, hidden and system ones too, sorted.
QStringList Entries(const QString& folder);
}  // namespace TestFiles
