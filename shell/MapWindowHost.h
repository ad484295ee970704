#pragma once

#include "document/MapWindowPort.h"
#include "view/MapWindowContext.h"

#include <QMdiSubWindow>
#include <QPointer>

class QMdiArea;
class QWidget;
class frmMain;

// Keeps the one map window inside the frame's MDI area: closes it (through
// its own close confirmation), builds a new one, sets its caption.
class MapWindowHost : public MapWindowPort {
public:
    MapWindowHost(QWidget& frame, QMdiArea& area, const MapWindowContext& context)
        : frame_(frame), area_(area), context_(context)
    {
    }

    bool CloseMapWindow() override;
    bool OpenMapWindow() override;
    void SetMapCaption(const std::string& caption) override;

    frmMain* MapWindow() const;
    QMdiSubWindow* SubWindow() const { return subWindow_; }

private:
    QWidget& frame_;
    QMdiArea& area_;
    MapWindowContext context_;
    QPointer<QMdiSubWindow> subWindow_;
};
