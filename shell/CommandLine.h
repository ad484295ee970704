#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for, read by Qt's rules (QCommandLineParser):
// the editor (with the size dialog first, or with a map file or a level
// text), the help, the version, the level text of a map file, the map file of
// a level text, or a refusal with its reason.
struct CommandLine {
    enum class Action { Start, OpenMapFile, ShowHelp, ShowVersion, WriteLevelText, WriteMapFromLevelText, Refuse };

    Action action = Action::Start;
    QString mapFile;     // absolute: the file to open, or the one --level-text
                         // or --map-from-level-text reads
    QString outputFile;  // -o; empty for standard output
    // Both with the system's own folder separator.
    QString refusal;     // for Refuse: one line that names what is wrong
    // For Refuse: the only fault is options this program does not know, and
    // nothing asks for a run without a window. Qt's own options (-platform,
    // -style, -session, ...) are among them until Qt has taken its own out of
    // the arguments (QGuiApplication does); parse again after that.
    bool unknownOptionsOnly = false;

    // arguments as QCoreApplication::arguments() gives them, the program first.
    static CommandLine Parse(const QStringList& arguments);

    static QString HelpText();
    static QString VersionText();
    // The refusal's line and the hint to the help.
    QString RefusalText() const;
};
