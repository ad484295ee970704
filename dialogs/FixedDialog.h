#pragma once

#include "components/qt/WindowBackground.h"

#include <QDialog>

class QKeyEvent;
class QPushButton;
class QPaintEvent;

// A dialog of fixed client size given in twips, with a close box but no
// minimise or maximise box, a gradient background, and no Escape binding:
// Escape does nothing, while the close box and a cancel button still close.
class FixedDialog : public QDialog {
    Q_OBJECT
public:
    // Twips to pixels at the primary screen's twips per pixel.
    static int Pixels(int twips);
    static QRect TwipsRect(int left, int top, int width, int height);
    // A push button that takes Enter while it has the focus; elsewhere in
    // the dialog Enter goes to the default button.
    static QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry);

protected:
    FixedDialog(BackgroundKind background, int clientWidthTwips, int clientHeightTwips, QWidget* parent);

    void PaintBackground();
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    WindowBackground background_;
};
