#pragma once

#include "dialogs/frmAbout.h"
#include "dialogs/frmMapSelect.h"
#include "document/MapModule.h"
#include "shell/FrameCommands.h"
#include "shell/LockCheckBox.h"
#include "shell/MapDataPanel.h"
#include "shell/MapWindowHost.h"
#include "shell/frmMDI.h"
#include "support/FakeFileDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ModalAnswer.h"
#include "view/qt/frmMain.h"
#include "viewer/frmOwnData.h"

#include <QPushButton>
#include <QtTest>

#include <memory>

// Clicks the window's button of that name; a missing one fails the test.
inline void PressButtonNamed(QWidget* window, const char* name)
{
    auto* button = window->findChild<QPushButton*>(name);
    QVERIFY2(button, name);
    button->click();
}

// A frame that went through its start-up, with the size dialog confirmed
// (a 20 x 20 map) or cancelled, and fakes for message boxes and file dialogs.
// With a map file (or a level text) the start loads it; the size dialog may
// not come at all.
struct StartedFrame {
    std::unique_ptr<frmMDI> frame;
    FakeMessageBox messages;
    FakeFileDialog files;
    bool sizeDialogShown = false;

    // lock: the lock box's value before the start.
    explicit StartedFrame(bool confirm, const QString& mapFile = QString(), int lock = 0)
    {
        MapModule::ResetDocument();
        frame = std::make_unique<frmMDI>(FrameDialogs{&messages, &files});
        if (lock != 0)
            frame->Toolbar2()->Check1()->SetValue(lock);
        WhenModalShows(frame.get(), [this, confirm](QWidget* dialog) {
            sizeDialogShown = qobject_cast<frmMapSelect*>(dialog) != nullptr;
            PressButtonNamed(dialog, confirm ? "Command1" : "Command2");
        });
        frame->Load(mapFile);
        frame->show();
    }
    ~StartedFrame()
    {
        MapModule::MapChanged = MapModule::False;
        // The data viewer and the about box outlive the frame, as top-level
        // windows of their own: the test closes what it opened.
        delete frame->Commands()->DataViewer();
        delete frame->Commands()->AboutBox();
        frame.reset();
        MapModule::ResetDocument();
    }
    frmMain* Map() const { return frame->MapHost().MapWindow(); }
};
