#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

const char* const Help =
    "Usage: gridforge [OPTION]... [MAP.kxgf | LEVEL]\n"
    "使い方: gridforge [オプション]... [マップファイル.kxgf | レベルデータ]\n"
    "Without a file the editor starts with the map size dialog; a level text\n"
    "(a file with an own_map section) opens as a new map that is not saved yet.\n"
    "ファイルを指定しなければ、マップサイズの選択から始まります。レベルデータ\n"
    "(own_map の節があるファイル) は保存されていない新しいマップとして開きます。\n"
    "\n"
    "  -h, --help            show this help and exit\n"
    "                        この説明を表示して終了します\n"
    "  -v, --version         show the version and exit\n"
    "                        バージョンを表示して終了します\n"
    "  --level-text MAP.kxgf write the map's level-data text (typ_map, own_map,\n"
    "                        hgt_map, blg_map) to standard output, without a window\n"
    "                        マップデータのテキストを標準出力へ (ウィンドウなし)\n"
    "  --map-from-level-text LEVEL\n"
    "                        write the map file made from the own_map section of\n"
    "                        LEVEL to standard output, without a window\n"
    "                        レベルデータの own_map からマップファイルを作り標準出力へ\n"
    "  -o, --output FILE     with either of the two: write to FILE instead\n"
    "                        どちらかと共に: 標準出力の代わりに FILE へ\n"
    "\n"
    "Qt's own options (-platform, -style, -session, ...) are passed on to Qt.\n"
    "Qt のオプション (-platform, -style, -session など) は Qt に渡されます。\n"
    "\n"
    "Exit status: 0 done; 1 the file was refused or the output could not be\n"
    "written; 2 a wrong command line.\n"
    "終了ステータス: 0 成功、1 ファイルを読めない・出力を書けない、\n"
    "2 コマンドラインの誤り。\n";

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
    const QCommandLineOption mapFromLevelText("map-from-level-text");
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), "FILE");
    parser.addOptions({help, version, levelText, mapFromLevelText, output});

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return Refused(parser.errorText());
        CommandLine refused = Refused("unknown option / 不明なオプション: " + AsWritten(unknown.first(), arguments.mid(1)));
        refused.unknownOptionsOnly = !parser.isSet(help) && !parser.isSet(version) && !parser.isSet(levelText) &&
                                     !parser.isSet(mapFromLevelText) && !parser.isSet(output);
        return refused;
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
        return Refused("more than one file / ファイルは一つだけです: " + files.join(' '));
    if (files.size() == 1 && files[0].isEmpty())
        return Refused("an empty file name / ファイル名が空です");
    if (parser.isSet(levelText) && parser.isSet(mapFromLevelText))
        return Refused("--level-text and --map-from-level-text together / --level-text と --map-from-level-text は同時に使えません");
    if (parser.isSet(output) && !parser.isSet(levelText) && !parser.isSet(mapFromLevelText))
        return Refused("-o needs --level-text or --map-from-level-text / -o は --level-text か --map-from-level-text と共に使います");
    if (parser.isSet(levelText) && files.isEmpty())
        return Refused("--level-text needs a map file / --level-text にはマップファイルが要ります");
    if (parser.isSet(mapFromLevelText) && files.isEmpty())
        return Refused("--map-from-level-text needs a level file / --map-from-level-text にはレベルデータのファイルが要ります");
    if (parser.isSet(output) && parser.value(output).isEmpty())
        return Refused("an empty file name after -o / -o のファイル名が空です");
    if (files.isEmpty())
        return result;

    // Paths as the system writes them: "\\" on Windows.
    result.mapFile = QDir::toNativeSeparators(QFileInfo(files[0]).absoluteFilePath());
    result.outputFile = QDir::toNativeSeparators(parser.value(output));
    if (parser.isSet(levelText))
        result.action = Action::WriteLevelText;
    else if (parser.isSet(mapFromLevelText))
        result.action = Action::WriteMapFromLevelText;
    else
        result.action = Action::OpenMapFile;
    return result;
}

QString CommandLine::HelpText() { return QString::fromUtf8(Help); }

QString CommandLine::VersionText() { return QStringLiteral("Gridforge " GRIDFORGE_VERSION "\n"); }

QString CommandLine::RefusalText() const
{
    return "gridforge: " + refusal + "\n" + "Try 'gridforge --help' for more / 詳しくは gridforge --help\n";
}
