#include "shell/FrameCommands.h"

#include "dialogs/frmAbout.h"
#include "dialogs/frmMapSelect.h"
#include "dialogs/frmReplace.h"
#include "document/MapFile.h"
#include "document/MapModule.h"
#include "document/SectorLock.h"
#include "viewer/frmOwnData.h"

#include <QAction>
#include <QToolBar>
#include <QWidget>

namespace {
void BringForward(QWidget& window)
{
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}
}  // namespace

FrameCommands::FrameCommands(QWidget& frame, MessageBoxPort& messages)
    : QObject(&frame), frame_(frame), messages_(messages)
{
}

void FrameCommands::NewMap()
{
    if (MapModule::MapChanged == MapModule::True &&
        messages_.Show("変更されていますが[新規作成]を実行しますか?", "新規作成", MessageButtons::YesNo,
                       MessageIcon::Question, MessageAnswer::Yes) != MessageAnswer::Yes)
        return;
    frmMapSelect dialog(&frame_);
    dialog.exec();
}

void FrameCommands::Open() { MapModule::OpenMap(); }

void FrameCommands::Save() { MapModule::SaveMap(); }

void FrameCommands::SaveAs() { MapModule::SaveMapAs(); }

void FrameCommands::Exit() { frame_.close(); }

void FrameCommands::ShowData()
{
    if (!viewer_) {
        viewer_ = new frmOwnData;
        viewer_->setAttribute(Qt::WA_DeleteOnClose);
    }
    BringForward(*viewer_);
}

void FrameCommands::About()
{
    if (!about_) {
        about_ = new frmAbout;
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    BringForward(*about_);
}

void FrameCommands::Replace()
{
    frmReplace dialog(&frame_);
    dialog.exec();
}

void FrameCommands::ToggleBar(QToolBar& bar) { bar.setHidden(!bar.isHidden()); }

void FrameCommands::CloseBar(QToolBar& bar, QAction& item)
{
    bar.setHidden(true);
    item.setChecked(!item.isChecked());
}

void FrameCommands::LockBoxChanged() { MapModule::ApplySectorLock(); }
