#include "shell/ScriptRuns.h"

#include "document/LevelTextImport.h"
#include "document/LevelTextReader.h"
#include "document/LevelTextRefusalText.h"
#include "document/MapFile.h"
#include "document/SaveFailureText.h"
#include "platform/FileBytes.h"
#include "shell/ConsoleOutput.h"
#include "shell/LevelTextExport.h"

#include <QFileInfo>

#include <string>

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;

int Refuse(const QString& file, const QString& reason)
{
    ConsoleOutput::WriteText(stderr, "gridforge: " + file + ": " + reason + "\n");
    return Failed;
}

// Why a file could not be read, in the words of the file system.
QString UnreadableReason(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists() && !file.isSymLink())
        return "does not exist / ファイルがありません";
    if (file.isDir())
        return "is a folder / フォルダです";
    if (!file.exists())
        return "is a link to nothing / リンク先がありません";
    if (!file.isFile())
        return "is not a regular file / 通常のファイルではありません";
    return "cannot be read / 読み込めません";
}

QString ReadFailureReason(const QString& path, FileBytes::ReadStatus status)
{
    if (status == FileBytes::ReadStatus::TooLarge)
        return QString("is larger than %1 MB / ファイルが大きすぎます (%1 MB まで)")
            .arg(MapModule::MapFileSizeLimit / (1024 * 1024));
    return UnreadableReason(path);
}

const char* WriteFailureEnglish(FileBytes::WriteStatus status)
{
    using FileBytes::WriteStatus;
    switch (status) {
    case WriteStatus::Written: return "";
    case WriteStatus::NoSpace: return "the disk is full";
    case WriteStatus::ReadOnlyDisk: return "the disk is read-only";
    case WriteStatus::ReadOnlyFile: return "the file is read-only or may not be written";
    case WriteStatus::InUse: return "another program uses the file";
    case WriteStatus::AccessDenied: return "the folder may not be written";
    case WriteStatus::StickyFolder: return "the folder lets only the file's owner replace it";
    case WriteStatus::StickyFolderLink: return "another user's symbolic link in a folder like /tmp is not followed";
    case WriteStatus::MountPoint: return "the file is a mount point";
    case WriteStatus::NameTooLong: return "the name or the path is too long";
    case WriteStatus::FolderMissing: return "the folder does not exist";
    case WriteStatus::IsFolder: return "a folder has that name";
    case WriteStatus::NotAFile: return "a special file has that name";
    case WriteStatus::LinkLoop: return "symbolic links lead in a circle, or too many";
    case WriteStatus::DiskError: return "the disk reported an error";
    case WriteStatus::TemporaryVanished: return "another program removed the temporary file";
    case WriteStatus::Other: break;
    }
    return "the system refused it";
}

// The bytes to standard output or, as a map is saved, to the -o file.
int WriteOutput(const CommandLine& commandLine, const std::string& bytes)
{
    if (commandLine.outputFile.isEmpty()) {
        if (ConsoleOutput::WriteBytes(stdout, bytes))
            return Done;
        ConsoleOutput::WriteText(stderr, "gridforge: standard output cannot be written / 標準出力に書き込めません\n");
        return Failed;
    }
    const FileBytes::WriteStatus status = FileBytes::WriteAtomically(commandLine.outputFile.toStdString(), bytes);
    if (status == FileBytes::WriteStatus::Written)
        return Done;
    QString japanese = QString::fromStdString(SaveFailureText(status));
    if (japanese.endsWith(QStringLiteral("。")))
        japanese.chop(1);
    return Refuse(commandLine.outputFile,
                  QString("cannot be written, %1 / 書き込めません: %2").arg(WriteFailureEnglish(status), japanese));
}

}  // namespace

int ScriptRuns::WriteLevelText(const CommandLine& commandLine)
{
    const LevelTextExport::Result result = LevelTextExport::FromMapFile(commandLine.mapFile.toStdString());
    using MapModule::LoadStatus;
    switch (result.status) {
    case LoadStatus::Loaded:
        if (result.text)
            return WriteOutput(commandLine, *result.text);
        break;  // the map window was not built for the file's sizes
    case LoadStatus::Unreadable:
        return Refuse(commandLine.mapFile, UnreadableReason(commandLine.mapFile));
    case LoadStatus::TooLarge:
        return Refuse(commandLine.mapFile, ReadFailureReason(commandLine.mapFile, FileBytes::ReadStatus::TooLarge));
    case LoadStatus::WrongHeader:
        return Refuse(commandLine.mapFile, QString("not a map file, its first line is not %1 / マップファイルではありません "
                                                   "(ヘッダーが違います)")
                                               .arg(MapModule::MapFileHeader));
    case LoadStatus::WrongSize:
    case LoadStatus::MapWindowKept:
        break;
    }
    return Refuse(commandLine.mapFile, "a map size the editor does not open / マップサイズが正しくありません");
}

int ScriptRuns::WriteMapFromLevelText(const CommandLine& commandLine)
{
    const FileBytes::ReadResult read = FileBytes::ReadBounded(commandLine.mapFile.toStdString(), MapModule::MapFileSizeLimit);
    if (read.status != FileBytes::ReadStatus::Read)
        return Refuse(commandLine.mapFile, ReadFailureReason(commandLine.mapFile, read.status));
    const LevelTextReader::Result section = LevelTextReader::Read(read.bytes);
    if (section.refusal != LevelTextReader::Refusal::None)
        return Refuse(QString("%1:%2:%3").arg(commandLine.mapFile).arg(section.line).arg(section.column),
                      QString::fromStdString(LevelTextRefusalEnglish(section) + " / " +
                                             LevelTextRefusalJapanese(section)));
    // The map goes through the document and out as the editor saves it,
    // with no lock box: lock off.
    MapModule::TakeOwnMap(section);
    return WriteOutput(commandLine, MapModule::MapFileText());
}
