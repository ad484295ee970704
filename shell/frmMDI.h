#pragma once

#include "components/ClsStatusBar.h"
#include "components/qt/QtStatusWindowPort.h"
#include "document/FileDialogPort.h"
#include "document/MessageBoxPort.h"
#include "view/FrameWindowPort.h"

#include <QMainWindow>

#include <memory>

class FrameCommands;
class FrameMenu;
class MainToolbar;
class MapDataPanel;
class MapWindowHost;
class OwnerToolbar;
class QMdiArea;
class QtMessageBox;

// The message box and file dialogs the program asks through; the frame makes
// Qt's own for any that is not given.
struct FrameDialogs {
    MessageBoxPort* messages = nullptr;
    FileDialogPort* files = nullptr;
};

// The frame window: menus, the main toolbar on top, the owner toolbar on the
// left, the map-data panel on the right, the status bar at the bottom and the
// MDI area that holds the map window. It is the start of the program and the
// one place that fills in the document's ports and hands each window what it
// needs.
class frmMDI : public QMainWindow, public FrameWindowPort {
    Q_OBJECT
public:
    explicit frmMDI(FrameDialogs dialogs = {}, QWidget* parent = nullptr);
    ~frmMDI() override;

    // The start-up sequence: status bar object, owner toolbar, legend, title
    // strip, the new-map size dialog, the brush sizes and the status bar.
    // With a map file or a level text the file is loaded instead of the size
    // dialog; the dialog still comes when the file is refused.
    void Load(const QString& mapFile = QString());

    void SetMapSizeLabels(int width, int height) override;
    void SetMapCommandsEnabled(bool enabled) override;
    int BrushSizePosition() const override;
    void SelectOwner(int owner) override;

    MainToolbar* Toolbar3() const { return toolbar3_; }
    OwnerToolbar* Toolbar1() const { return toolbar1_; }
    MapDataPanel* Toolbar2() const { return toolbar2_; }
    FrameMenu* Menu() const { return menu_; }
    FrameCommands* Commands() const { return commands_; }
    MapWindowHost& MapHost() const { return *mapHost_; }
    QMdiArea* MdiArea() const { return mdiArea_; }
    ClsStatusBar* StatusBar() const { return statusBar_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // One map file or level text dropped on the frame opens as the Open
    // command would, without the file dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawTitleAndPictures();
    void ConnectCommands();

    QMdiArea* mdiArea_ = nullptr;
    MainToolbar* toolbar3_ = nullptr;
    OwnerToolbar* toolbar1_ = nullptr;
    MapDataPanel* toolbar2_ = nullptr;
    FrameMenu* menu_ = nullptr;
    FrameCommands* commands_ = nullptr;
    std::unique_ptr<MapWindowHost> mapHost_;
    std::unique_ptr<QtMessageBox> ownMessages_;
    std::unique_ptr<FileDialogPort> ownFileDialog_;
    FrameDialogs dialogs_;
    QtStatusWindowPort statusPort_;
    std::unique_ptr<ClsStatusBar> statusBar_;
};
