#pragma once

#include "support/MapFileFakes.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <string>

// The message a load shows for a file that is not a map file.
inline const std::string HeaderMessage = "ヘッダーが違います・・・ロードを中止します";

// The fakes of the map file routines and a fresh folder for each test's files.
struct MapFileFixture : MapFileFakes {
    // Install() and a new empty folder, from init(): QVERIFY(Start()).
    bool Start();

    QString PathOf(const QString& name) const { return dir->filePath(name); }
    static std::string Std(const QString& path) { return path.toStdString(); }
    // A width x height map in the window, the same owners in every program, lock off.
    void StartMap(int width = 10, int height = 10);
    // Every entry of the owner grid.
    static QList<int> Grid();
    // One message was shown: text, the title 中止, OK only (the default), the error icon.
    void VerifyMessage(const std::string& text) const;

    std::unique_ptr<QTemporaryDir> dir;
};
