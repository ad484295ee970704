#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

const char* const Help =
    "Usage: gridforge [OPTION]... [MAP.kxgf]\n"
    "使い方: gridforge [オプション]... [マップファイル.kxgf]\n"
    "Without a file the editor starts with the map size dialog.\n"
    "ファイルを指定しなければ、マップサイズの選択から始まります。\n"
    "\n"
    "  -h, --help            show this help and exit\n"
    "                        この説明を表示して終了します\n"
    "  -v, --version         show the version and exit\n"
    "                        バージョンを表示して終了します\n"
    "  --level-text MAP.kxgf write the map's level-data text (typ_map, own_map,\n"
    "                        hgt_map, blg_map) to standard output, without a window\n"
    "                        マップデータのテキストを標準出力へ (ウィンドウなし)\n"
    "  -o, --output FILE     with --level-text: write the text to FILE instead\n"
    "                        --level-text と共に: テキストを FILE へ\n"
    "\n"
    "Qt's own options (-platform, -style, -session, ...) are passed on to Qt.\n"
    "Qt のオプション (-platform, -style, -session など) は Qt に渡されます。\n"
    "\n"
    "Exit status: 0 done; 1 the map file was refused or the text could not be\n"
    "written; 2 a wrong command line.\n"
    "終了ステータス: 0 成功、1 マップファイルを読めない・テキストを書けない、\n"
    "2 コマンドラインの誤り。\n";

// The options of QGuiApplication and QApplication, with a value or without.
const char* const QtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                          "qwindowgeometry", "geometry", "qwindowicon", "icon",
                                          "qwindowtitle", "title", "session", "display", "name",
                                          "style", "stylesheet"};
const char* const QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

// An unknown option as it was written ("-x", "--frobnicate").
QString AsWritten(const QString& name, const QStringList& arguments)
{
    for (const QString& argument : arguments)
        if (argument == "-" + name || argument == "--" + name || argument.startsWith("--" + name + "=") ||
            argument.startsWith("-" + name + "="))
            return argument.section('=', 0, 0);
    return "-" + name;
}

CommandLine Refused(const QString& reason)
{
    CommandLine refused;
    refused.action = CommandLine::Action::Refuse;
    refused.refusal = reason;
    return refused;
}

}  // namespace

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's own style: "-platform" is one option, not -p -l -a ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const QCommandLineOption levelText("level-text");
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), "FILE");
    parser.addOptions({help, version, levelText, output});
    for (const char* name : QtOptionsWithValue)
        parser.addOption(QCommandLineOption(name, QString(), "value"));
    for (const char* name : QtFlags)
        parser.addOption(QCommandLineOption(name));

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return Refused("unknown option / 不明なオプション: " + AsWritten(unknown.first(), arguments.mid(1)));
        return Refused(parser.errorText());
    }

    CommandLine result;
    if (parser.isSet(help)) {
        result.action = Action::ShowHelp;
        return result;
    }
    if (parser.isSet(version)) {
        result.action = Action::ShowVersion;
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return Refused("more than one map file / マップファイルは一つだけです: " + files.join(' '));
    if (files.size() == 1 && files[0].isEmpty())
        return Refused("an empty file name / ファイル名が空です");
    if (parser.isSet(output) && !parser.isSet(levelText))
        return Refused("-o needs --level-text / -o は --level-text と共に使います");
    if (parser.isSet(levelText) && files.isEmpty())
        return Refused("--level-text needs a map file / --level-text にはマップファイルが要ります");
    if (parser.isSet(output) && parser.value(output).isEmpty())
        return Refused("an empty file name after -o / -o のファイル名が空です");
    if (files.isEmpty())
        return result;

    // Paths as the system writes them: "\\" on Windows.
    result.mapFile = QDir::toNativeSeparators(QFileInfo(files[0]).absoluteFilePath());
    if (parser.isSet(levelText)) {
        result.action = Action::WriteLevelText;
        result.outputFile = QDir::toNativeSeparators(parser.value(output));
    } else {
        result.action = Action::OpenMapFile;
    }
    return result;
}

QString CommandLine::HelpText() { return QString::fromUtf8(Help); }

QString CommandLine::VersionText() { return QStringLiteral("Gridforge " GRIDFORGE_VERSION "\n"); }

QString CommandLine::RefusalText() const
{
    return "gridforge: " + refusal + "\n" + "Try 'gridforge --help' for more / 詳しくは gridforge --help\n";
}
