#include "document/SaveFailureText.h"

std::string SaveFailureText(FileBytes::WriteStatus status)
{
    using FileBytes::WriteStatus;
    switch (status) {
    case WriteStatus::Written:
        return {};
    case WriteStatus::NoSpace:
        return "ディスクの空き容量が足りません。";
    case WriteStatus::ReadOnlyDisk:
        return "ディスクが読み取り専用です。";
    case WriteStatus::ReadOnlyFile:
        return "ファイルが読み取り専用か、書き込む権限がありません。";
    case WriteStatus::InUse:
        return "ファイルが他のプログラムで使われています。";
    case WriteStatus::AccessDenied:
        return "保存先のフォルダに書き込む権限がありません。";
    case WriteStatus::StickyFolder:
        return "保存先のフォルダでは、他のユーザーのファイルを置き換えることができません（スティッキービット）。";
    case WriteStatus::StickyFolderLink:
        return "保存先のフォルダでは、他のユーザーのシンボリックリンクをたどることができません（スティッキービット）。";
    case WriteStatus::MountPoint:
        return "ファイルがマウントポイントになっているため、置き換えることができません。";
    case WriteStatus::NameTooLong:
        return "ファイル名またはパスが長すぎます。";
    case WriteStatus::FolderMissing:
        return "保存先のフォルダが見つかりません。";
    case WriteStatus::IsFolder:
        return "同じ名前のフォルダがあります。";
    case WriteStatus::NotAFile:
        return "同じ名前の特殊なファイルがあります。";
    case WriteStatus::LinkLoop:
        return "シンボリックリンクが循環しているか、多すぎます。";
    case WriteStatus::DiskError:
        return "ディスクの読み書きでエラーが起きました。";
    case WriteStatus::TemporaryVanished:
        return "保存中の一時ファイルが、ほかのプログラムによって削除されました。";
    case WriteStatus::Other:
        break;
    }
    return "システムのエラーで書き込めませんでした。";
}

std::string NotKeptText(const FileBytes::NotKept& notKept)
{
    std::string text;
    if (notKept.accessList)
        text += "アクセス制御リスト（ACL）\n";
    for (const std::string& name : notKept.attributes)
        text += "拡張属性「" + name + "」\n";
    for (const std::string& name : notKept.streams)
        text += "代替データストリーム「" + name + "」\n";
    if (notKept.accessList)
        text += "ほかのユーザーがこのファイルを読み書きできなくなっていることがあります。\n";
    if (!text.empty())
        text.pop_back();
    return text;
}
