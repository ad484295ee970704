#include "shell/CommandLine.h"

#include <QFileInfo>

const char* const CommandLine::Usage =
    "Usage: gridforge [MAP.kxgf]\n"
    "使い方: gridforge [マップファイル.kxgf]\n"
    "Without a file the editor starts with the map size dialog.\n";

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    const QStringList given = arguments.mid(1);
    CommandLine result;
    if (given.isEmpty())
        return result;
    QString file;
    if (given.size() == 1 && (given[0] == "-h" || given[0] == "--help")) {
        result.action = Action::ShowUsage;
        return result;
    }
    if (given.size() == 1 && !given[0].startsWith('-'))
        file = given[0];
    else if (given.size() == 2 && given[0] == "--")
        file = given[1];
    if (file.isEmpty()) {
        result.action = Action::Refuse;
        return result;
    }
    result.action = Action::OpenMapFile;
    result.mapFile = QFileInfo(file).absoluteFilePath();
    return result;
}
