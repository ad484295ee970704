#include "shell/MapWindowHost.h"

#include "view/qt/frmMain.h"

#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>

frmMain* MapWindowHost::MapWindow() const
{
    return subWindow_ ? qobject_cast<frmMain*>(subWindow_->widget()) : nullptr;
}

bool MapWindowHost::CloseMapWindow()
{
    if (!subWindow_)
        return true;
    if (!subWindow_->close())
        return false;
    // The window is deleted later; it must already count as gone.
    subWindow_ = nullptr;
    return true;
}

bool MapWindowHost::OpenMapWindow()
{
    // A map window makes the frame visible, also while it is still loading.
    if (!frame_.isVisible())
        frame_.show();
    auto* map = new frmMain(context_);
    QMdiSubWindow* sub = area_.addSubWindow(map);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(map->windowIcon());
    subWindow_ = sub;
    sub->show();
    if (map->Build())
        return true;
    if (!sub->isVisible())
        subWindow_ = nullptr;  // a failed build has closed the window
    return false;
}

void MapWindowHost::SetMapCaption(const std::string& caption)
{
    if (subWindow_)
        subWindow_->setWindowTitle(QString::fromStdString(caption));
}
