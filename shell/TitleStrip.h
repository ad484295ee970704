#pragma once

#include <QPixmap>
#include <QWidget>

// Picture1, the map-data panel's title strip: it keeps what is drawn on it
// in an image of its own and repaints from that image.
class TitleStrip : public QWidget {
    Q_OBJECT
public:
    explicit TitleStrip(QWidget* parent = nullptr);

    // Draws text with the strip's font and text colour, its baseline box
    // starting at (x, y) pixels.
    void DrawText(int x, int y, const QString& text);
    const QPixmap& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap image_;
};
