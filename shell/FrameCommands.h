#pragma once

#include "dialogs/frmAbout.h"
#include "document/MessageBoxPort.h"
#include "viewer/frmOwnData.h"

#include <QObject>
#include <QPointer>

class QAction;
class QToolBar;
class QWidget;

// What the frame's menus, toolbar buttons and panel buttons do.
class FrameCommands : public QObject {
    Q_OBJECT
public:
    FrameCommands(QWidget& frame, MessageBoxPort& messages);

    void NewMap();
    void Open();
    void Save();
    void SaveAs();
    void Exit();
    void ShowData();
    void About();
    void Replace();
    // Inverts the bar's visibility. The checkable menu item has already
    // inverted its own tick when it was chosen: each from its own value.
    static void ToggleBar(QToolBar& bar);
    // Hides the bar and inverts the item's tick.
    static void CloseBar(QToolBar& bar, QAction& item);
    void LockBoxChanged();

    frmOwnData* DataViewer() const { return viewer_; }
    frmAbout* AboutBox() const { return about_; }

private:
    QWidget& frame_;
    MessageBoxPort& messages_;
    QPointer<frmOwnData> viewer_;
    QPointer<frmAbout> about_;
};
