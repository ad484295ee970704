#include "shell/FrameMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {})
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QAction* AddTicked(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = AddItem(menu, name, caption);
    action->setCheckable(true);
    action->setChecked(true);
    return action;
}
}  // namespace

FrameMenu::FrameMenu(QMenuBar& bar) : QObject(&bar)
{
    mnuFile = bar.addMenu("ファイル(&F)");
    mnuFile->setObjectName("mnuFile");
    mnuFileNew = AddItem(mnuFile, "mnuFileNew", "新規作成(&N)...", QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = AddItem(mnuFile, "mnuFileOpen", "開く(&O)...", QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFile->addSeparator()->setObjectName("mnuFileBar0");
    mnuFileSave = AddItem(mnuFile, "mnuFileSave", "上書き保存(&S)");
    mnuFileSaveAs = AddItem(mnuFile, "mnuFileSaveAs", "名前をつけて保存(&A)...", QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFile->addSeparator()->setObjectName("mnuFileBar1");
    mnuFileExit = AddItem(mnuFile, "mnuFileExit", "終了(&E)");

    mnuTool = bar.addMenu("ツール(&T)");
    mnuTool->setObjectName("mnuTool");
    mnuFileToolShowData = AddItem(mnuTool, "mnuFileToolShowData", "データの表示(&S)...");

    mnuVisual = bar.addMenu("表示(&V)");
    mnuVisual->setObjectName("mnuVisual");
    mnuVisualBar = AddTicked(mnuVisual, "mnuVisualBar", "ツールバーの表示&&非表示(&T)");
    mnuVisualMapDataIs = AddTicked(mnuVisual, "mnuVisualMapDataIs", "マップデータの詳細の表示&&非表示(I)");
    mnuVisualOwnSelect = AddTicked(mnuVisual, "mnuVisualOwnSelect", "オーナーセレクトの表示&&非表示(&O)");
    mnuToolBar0 = mnuVisual->addSeparator();
    mnuToolBar0->setObjectName("mnuToolBar0");
    mnuToolBar0->setEnabled(false);
    // Shown greyed with its tick: the status bar cannot be hidden.
    mnuVisualStausBar = AddTicked(mnuVisual, "mnuVisualStausBar", "ステータスバーの表示&&非表示(&S)");
    mnuVisualStausBar->setEnabled(false);

    mnuHelp = bar.addMenu("ヘルプ(&H)");
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpAbout = AddItem(mnuHelp, "mnuHelpAbout", "このプログラムについて(&A)...");
}
