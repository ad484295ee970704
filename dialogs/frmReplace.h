#pragma once

#include "dialogs/FixedDialog.h"

#include <QColor>
#include <array>

class QComboBox;
class QLabel;
class QPushButton;

// The owner replace dialog: source and target owner lists, both at owner 0 on
// opening, and the two replace operations. It stays open after each run;
// Cancel and the close box close it.
class frmReplace : public FixedDialog {
    Q_OBJECT
public:
    explicit frmReplace(QWidget* parent = nullptr);

    // The dialog's own swatch colours, one per owner. These are fixed and do not
    // follow the map view's cell colours.
    static const std::array<QColor, 7>& SwatchColors();

private:
    void Load();
    void FillOwnerList(QComboBox* list);
    void Command1_Click();
    void Command2_Click();

    QLabel* Image1;
    QLabel* Label3;
    QLabel* Label1;
    QComboBox* ImageCombo1;
    QLabel* Label2;
    QComboBox* ImageCombo2;
    QPushButton* Command2;
    QPushButton* Command1;
    QPushButton* Command3;
};
