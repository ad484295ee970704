#pragma once

#include "shell/DockedBar.h"

class QComboBox;
class QGroupBox;
class QToolButton;

// Toolbar3 along the top edge: new, open, save (as), a separator and data
// view, then the brush options frame with BrushSize1.
class MainToolbar : public DockedBar {
    Q_OBJECT
public:
    explicit MainToolbar(QWidget* parent = nullptr);

    // Buttons numbered from 1, left to right; 4 is the separator (null).
    QToolButton* Button(int number) const;
    QComboBox* BrushSize1() const { return brushSize1_; }

signals:
    void ButtonClicked(int number);

private:
    QToolButton* AddButton(QWidget* host, int number, const QString& picture, const QString& tip, int left);

    QToolButton* buttons_[5] = {};
    QGroupBox* frame4_ = nullptr;
    QComboBox* brushSize1_ = nullptr;
};
