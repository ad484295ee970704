#pragma once

#include "shell/DockedBar.h"

class QButtonGroup;
class QPushButton;
class QToolButton;

// Toolbar1 along the left edge: a title strip with its close button, then
// nine buttons: a blank one, the pointer and the seven owners. Pressing one
// of buttons 2 to 9 selects what a press on the map paints.
class OwnerToolbar : public DockedBar {
    Q_OBJECT
public:
    explicit OwnerToolbar(QWidget* parent = nullptr);

    QToolButton* Button(int number) const;
    QPushButton* Command2() const { return command2_; }
    // Gives the buttons their pictures, decoded here; once is enough.
    void LoadPictures();

    // CurrentOwner for a button number: the pointer is OwnerNone, owners 1 to
    // 6 follow, owner 0 comes last; any other number selects nothing.
    static std::optional<int> OwnerForButton(int number);
    // Presses the button of an owner (0..6); any other value presses none.
    void ChooseOwner(int owner);

signals:
    void CloseRequested();
    // CurrentOwner took another value.
    void OwnerSelected();

protected:
    // Tab and Shift+Tab enter the group of buttons at the pressed one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectOwner(int number);

    QToolButton* buttons_[9] = {};
    QButtonGroup* group_ = nullptr;
    QPushButton* command2_ = nullptr;
};
