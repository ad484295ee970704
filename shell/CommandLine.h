#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for, read by Qt's rules (QCommandLineParser):
// the editor (with the size dialog first, or with a map file), the help, the
// version, the level text of a map file, or a refusal with its reason. Qt's
// own options (-platform, -style, -session, ...) are known and left to Qt.
struct CommandLine {
    enum class Action { Start, OpenMapFile, ShowHelp, ShowVersion, WriteLevelText, Refuse };

    Action action = Action::Start;
    QString mapFile;     // absolute, for OpenMapFile and WriteLevelText
    QString outputFile;  // -o for WriteLevelText; empty for standard output
    // Both with the system's own folder separator.
    QString refusal;     // for Refuse: one line that names what is wrong

    // arguments as QCoreApplication::arguments() gives them, the program first.
    static CommandLine Parse(const QStringList& arguments);

    static QString HelpText();
    static QString VersionText();
    // The refusal's line and the hint to the help.
    QString RefusalText() const;
};
