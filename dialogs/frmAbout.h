#pragma once

#include "dialogs/FixedDialog.h"

class QLabel;
class QPushButton;

// The about box: the title artwork and an OK button. Not modal; the caller
// keeps at most one open and brings it forward when asked again.
class frmAbout : public FixedDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

private:
    void Load();

    QLabel* Image1;
    QPushButton* Command1;
};
