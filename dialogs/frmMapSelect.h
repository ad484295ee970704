#pragma once

#include "dialogs/FixedDialog.h"

class PictureButton;
class QComboBox;
class QLabel;
class QPushButton;

// The new-map size dialog: width and height lists "10" to "50", both at "20"
// on every opening. OK starts the new map and closes; Cancel and the close box
// close without touching the document. Opening it changes nothing.
class frmMapSelect : public FixedDialog {
    Q_OBJECT
public:
    explicit frmMapSelect(QWidget* parent = nullptr);

private:
    void Load();
    void MakeSquare();
    void Command1_Click();

    QLabel* Label2;
    PictureButton* Image1;
    QComboBox* Combo1;
    QLabel* Label1;
    QComboBox* Combo2;
    QPushButton* Command1;
    QPushButton* Command2;
};
