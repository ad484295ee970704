#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A picture that acts when any mouse button is pressed on it, drawn as a bare
// picture at its top-left corner. A screen reader sees it as a button that it
// can press; it takes no keyboard focus.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(const QPixmap& picture, QWidget* parent = nullptr);

    QSize sizeHint() const override { return picture_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
};
