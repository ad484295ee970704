#pragma once

#include "shell/DockedBar.h"

class QAction;
class QComboBox;
class QGroupBox;
class QToolButton;

// Toolbar3 along the top edge: new, open, save (as), a separator and data
// view, then the brush options frame with BrushSize1. Each button shows an
// action: New and Open are the menu's own items; Save as and Show data have
// actions of their own, which follow the map window while the menu's items
// stay enabled.
class MainToolbar : public DockedBar {
    Q_OBJECT
public:
    MainToolbar(QAction& newMap, QAction& open, QWidget* parent = nullptr);

    // Buttons numbered from 1, left to right; 4 is the separator (null).
    QToolButton* Button(int number) const;
    QAction* Action(int number) const;
    QComboBox* BrushSize1() const { return brushSize1_; }
    // Gives the buttons their pictures, decoded here; once is enough.
    void LoadPictures();

private:
    void AddButton(QWidget* host, int number, QAction& action, const QString& picture, const QString& tip, int left);

    QToolButton* buttons_[5] = {};
    QString pictures_[5];
    QGroupBox* frame4_ = nullptr;
    QComboBox* brushSize1_ = nullptr;
};
