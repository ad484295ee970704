#include "shell/frmMDI.h"

#include "base/qt/QtColors.h"
#include "base/qt/ScreenTwips.h"
#include "components/ProgramCaption.h"
#include "dialogs/frmMapSelect.h"
#include "document/LevelTextImport.h"
#include "document/MapFile.h"
#include "document/MapModule.h"
#include "shell/AfterFirstPaint.h"
#include "shell/FrameCommands.h"
#include "shell/FrameMenu.h"
#include "shell/FramePanes.h"
#include "shell/ImagePluginsSetAside.h"
#include "shell/LockCheckBox.h"
#include "shell/MainToolbar.h"
#include "shell/MapDataPanel.h"
#include "shell/MapWindowHost.h"
#include "shell/OwnerToolbar.h"
#include "shell/QtMessageBox.h"
#include "shell/QtShownPath.h"
#include "shell/QtFileDialog.h"
#include "view/qt/MapAccessible.h"
#include "view/qt/frmMain.h"
#ifdef Q_OS_WIN
#include "shell/FileDialogWithFallback.h"
#include "shell/WindowsFileDialog.h"
#endif

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <string>

namespace {
// The frame's status bar has one part; its width is given as text.
constexpr char StatusBarText[] = "Gridforge First Release Version";
constexpr char StatusBarWidth[] = "300";

// Paths in captions and messages, as the system writes them.
const QtShownPath ShownPaths;

// The file a drag carries: exactly one local file. Whether it is a map file
// or a level text is told by what it holds, whatever its name.
QString DraggedMapFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || QFileInfo(url.toLocalFile()).isDir())
        return {};
    return url.toLocalFile();
}
}  // namespace

frmMDI::frmMDI(FrameDialogs dialogs, QWidget* parent) : QMainWindow(parent), dialogs_(dialogs)
{
    setObjectName("frmMDI");
    setWindowTitle(ProgramCaption);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAcceptDrops(true);

    // The menu bar reads the style's standard icons as it is made.
    const ImagePluginsSetAside noPluginsYet;
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setBackground(ToQColor(ColorWord::System(SystemColor::ButtonFace)));
    setCentralWidget(mdiArea_);

    menu_ = new FrameMenu(*menuBar());
    toolbar3_ = new MainToolbar(*menu_->mnuFileNew, *menu_->mnuFileOpen, this);
    addToolBar(Qt::TopToolBarArea, toolbar3_);
    toolbar1_ = new OwnerToolbar(this);
    addToolBar(Qt::LeftToolBarArea, toolbar1_);
    toolbar2_ = new MapDataPanel(this);
    addToolBar(Qt::RightToolBarArea, toolbar2_);

    if (dialogs_.messages == nullptr) {
        ownMessages_ = std::make_unique<QtMessageBox>(this);
        dialogs_.messages = ownMessages_.get();
    }
    if (dialogs_.files == nullptr) {
        // The dialogs a user of each system knows: on Windows the system's
        // own, and Qt's where they fail.
#ifdef Q_OS_WIN
        ownFileDialog_ = std::make_unique<FileDialogWithFallback>(
            std::make_unique<WindowsFileDialog>(this), std::make_unique<QtFileDialog>(this), *dialogs_.messages);
#else
        ownFileDialog_ = std::make_unique<QtFileDialog>(this);
#endif
        dialogs_.files = ownFileDialog_.get();
    }
    MapModule::PortSet& ports = MapModule::Ports();
    mapHost_ = std::make_unique<MapWindowHost>(*this, *mdiArea_,
                                               MapWindowContext{this, dialogs_.messages, &ports.cells});
    ports.mapWindow = mapHost_.get();
    ports.lockBox = toolbar2_->Check1();
    ports.fileDialog = dialogs_.files;
    ports.messages = dialogs_.messages;
    ports.shownPaths = &ShownPaths;
    commands_ = new FrameCommands(*this, *dialogs_.messages);
    ConnectCommands();
    new FramePanes(*this, [this] { return static_cast<QWidget*>(mapHost_->MapWindow()); },
                   {toolbar3_, toolbar1_, toolbar2_});

    // The initial client size: 742 x 677 pixels for the MDI area and its bars.
    resize(Twips::ScreenPixels(11130), Twips::ScreenPixels(10155) + menuBar()->sizeHint().height());
}

frmMDI::~frmMDI()
{
    MapModule::PortSet& ports = MapModule::Ports();
    if (ports.mapWindow == mapHost_.get())
        ports = MapModule::PortSet{};
}

void frmMDI::ConnectCommands()
{
    FrameCommands* commands = commands_;
    connect(menu_->mnuFileNew, &QAction::triggered, commands, &FrameCommands::NewMap);
    connect(menu_->mnuFileOpen, &QAction::triggered, commands, &FrameCommands::Open);
    connect(menu_->mnuFileSave, &QAction::triggered, commands, &FrameCommands::Save);
    connect(menu_->mnuFileSaveAs, &QAction::triggered, commands, &FrameCommands::SaveAs);
    connect(menu_->mnuFileExit, &QAction::triggered, commands, &FrameCommands::Exit);
    connect(menu_->mnuFileToolShowData, &QAction::triggered, commands, &FrameCommands::ShowData);
    connect(menu_->mnuHelpAbout, &QAction::triggered, commands, &FrameCommands::About);
    connect(menu_->mnuVisualBar, &QAction::triggered, this, [this] { FrameCommands::ToggleBar(*toolbar3_); });
    connect(menu_->mnuVisualMapDataIs, &QAction::triggered, this, [this] { FrameCommands::ToggleBar(*toolbar2_); });
    connect(menu_->mnuVisualOwnSelect, &QAction::triggered, this, [this] { FrameCommands::ToggleBar(*toolbar1_); });

    // Toolbar buttons 1 and 2 are the menu's New and Open.
    connect(toolbar3_->Action(3), &QAction::triggered, commands, &FrameCommands::SaveAs);
    connect(toolbar3_->Action(5), &QAction::triggered, commands, &FrameCommands::ShowData);
    connect(toolbar2_, &MapDataPanel::CloseRequested, this,
            [this] { FrameCommands::CloseBar(*toolbar2_, *menu_->mnuVisualMapDataIs); });
    connect(toolbar1_, &OwnerToolbar::CloseRequested, this,
            [this] { FrameCommands::CloseBar(*toolbar1_, *menu_->mnuVisualOwnSelect); });
    connect(toolbar2_, &MapDataPanel::ShowDataRequested, commands, &FrameCommands::ShowData);
    connect(toolbar2_, &MapDataPanel::ReplaceRequested, commands, &FrameCommands::Replace);
    connect(toolbar2_->Check1(), &LockCheckBox::LockBoxChanged, commands, &FrameCommands::LockBoxChanged);

    // The map's description names the chosen owner and the brush size.
    const auto describe = [this] { MapAccessible::DescriptionChanged(mapHost_->MapWindow()); };
    connect(toolbar1_, &OwnerToolbar::OwnerSelected, this, describe);
    connect(toolbar3_->BrushSize1(), &QComboBox::currentIndexChanged, this, describe);
}

void frmMDI::Load(const QString& mapFile)
{
    // 1. The status bar object; its window comes at the end.
    statusBar_ = std::make_unique<ClsStatusBar>(statusPort_);
    // 2. The blank first owner button.
    toolbar1_->Button(1)->setEnabled(false);
    // 3. The owner legend.
    toolbar2_->FillLegend();
    // 4. The title strip and the frame's pictures, which the size dialog does
    // not show: drawn once the dialog is on the screen (or before, should it
    // close first), so that they do not keep it from the screen.
    // 5. The first map: the file named at start, or the size dialog, whose
    // OK opens the map window right away.
    if (mapFile.isEmpty() || !MapModule::LoadMapOrLevelText(mapFile.toStdString())) {
        frmMapSelect dialog(this);
        AfterFirstPaint drawFrame(dialog, [this] { DrawTitleAndPictures(); });
        dialog.exec();
        drawFrame.Finish();
    } else {
        DrawTitleAndPictures();
    }
    // 6. The brush sizes.
    QComboBox* brush = toolbar3_->BrushSize1();
    for (const char* item : {"1", "2", "3", "4", "5"})
        brush->addItem(item);
    brush->setCurrentIndex(0);
    // 7. The status bar window with its one part.
    // The window colour as back colour leaves the bar in its own colour.
    statusBar_->CreateStatusBar(QtStatusWindowPort::HandleOf(this), 2, true, 0,
                                ColorWord::System(SystemColor::Window).value);
    statusBar_->SetStatusBarParts(StatusBarText, std::stoi(StatusBarWidth), 0, 0);
    statusBar_->DrawStatusBar();
}

void frmMDI::DrawTitleAndPictures()
{
    toolbar2_->DrawTitle();
    setWindowIcon(QIcon(":/icons/app.png"));
    toolbar3_->LoadPictures();
    toolbar1_->LoadPictures();
    toolbar2_->LoadPictures();
}

void frmMDI::SetMapSizeLabels(int width, int height)
{
    toolbar2_->Label1()->setText(QString("X:%1").arg(width));
    toolbar2_->Label1()->adjustSize();
    toolbar2_->Label2()->setText(QString("Y:%1").arg(height));
    toolbar2_->Label2()->adjustSize();
}

void frmMDI::SetMapCommandsEnabled(bool enabled)
{
    toolbar3_->Action(3)->setEnabled(enabled);
    toolbar3_->Action(5)->setEnabled(enabled);
    toolbar2_->Command3()->setEnabled(enabled);
}

int frmMDI::BrushSizePosition() const { return toolbar3_->BrushSize1()->currentIndex(); }

void frmMDI::SelectOwner(int owner) { toolbar1_->ChooseOwner(owner); }

void frmMDI::closeEvent(QCloseEvent* event)
{
    // The map window is asked first and may keep everything open.
    if (!mapHost_->CloseMapWindow()) {
        event->ignore();
        return;
    }
    // Unload: the status bar goes with the frame.
    if (statusBar_) {
        statusBar_->DestroyStatusBar();
        statusBar_.reset();
    }
    event->accept();
}

void frmMDI::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DraggedMapFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMDI::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DraggedMapFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmMDI::dropEvent(QDropEvent* event)
{
    const QString path = DraggedMapFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The question and the load run after the drop has ended, so that the
    // program the file came from is not kept waiting by a modal box.
    QTimer::singleShot(0, commands_, [path] { MapModule::OpenMapFile(path.toStdString()); });
}

void frmMDI::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (statusBar_)
        statusBar_->DrawStatusBar();
}
