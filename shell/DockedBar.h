#pragma once

#include <QToolBar>

// A bar docked to an edge of the frame that is exactly as large as the widget
// it holds: the toolkit's frame, margins and spacing around a toolbar's items
// are taken out, so that the controls sit at their places in the bar.
class DockedBar : public QToolBar {
    Q_OBJECT
public:
    explicit DockedBar(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void RemoveMargins();
};
