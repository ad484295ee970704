#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;

// The frame's menu tree, with its captions, access keys, shortcuts and ticks.
class FrameMenu : public QObject {
    Q_OBJECT
public:
    explicit FrameMenu(QMenuBar& bar);

    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuTool = nullptr;
    QAction* mnuFileToolShowData = nullptr;
    QMenu* mnuVisual = nullptr;
    QAction* mnuVisualBar = nullptr;
    QAction* mnuVisualMapDataIs = nullptr;
    QAction* mnuVisualOwnSelect = nullptr;
    QAction* mnuToolBar0 = nullptr;
    QAction* mnuVisualStausBar = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;
};
