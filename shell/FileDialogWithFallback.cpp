#include "shell/FileDialogWithFallback.h"

#include "document/MessageBoxPort.h"
#include "shell/SystemFileDialog.h"

#include <cstdio>
#include <utility>

FileDialogWithFallback::FileDialogWithFallback(std::unique_ptr<SystemFileDialog> system,
                                               std::unique_ptr<FileDialogPort> fallback, MessageBoxPort& messages)
    : system_(std::move(system)), fallback_(std::move(fallback)), messages_(messages)
{
}

FileDialogWithFallback::~FileDialogWithFallback() = default;

std::string FileDialogWithFallback::FailureText(long failure)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(failure) & 0xFFFFFFFFul);
    return std::string("Windows のファイル ダイアログを表示できませんでした（エラー ") + code +
           "）。\n代わりに Gridforge のファイル ダイアログを使います。";
}

std::optional<std::string> FileDialogWithFallback::Choose(bool save)
{
    if (!systemFailed_) {
        SystemFileDialog::Result result = system_->Choose(save);
        if (result.failure == 0)
            return std::move(result.path);
        systemFailed_ = true;
        messages_.Show(FailureText(result.failure), "", MessageButtons::Ok, MessageIcon::Exclamation,
                       MessageAnswer::Ok);
    }
    return save ? fallback_->ChooseSavePath() : fallback_->ChooseOpenPath();
}
