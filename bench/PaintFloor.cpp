#include "bench/PaintFloor.h"

#include "base/qt/QtColors.h"
#include "view/qt/frmMain.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>

PaintFloor::PaintFloor(const frmMain& map) : background_(BackgroundKind::MapWindow)
{
    setAttribute(Qt::WA_OpaquePaintEvent);  // the background image covers everything
    for (int k = 0; k < map.Cells().CellCount(); ++k) {
        rects_.push_back(map.CellRectPixels(k));
        colors_.push_back(ToQColor(map.Cells().Cell(k).fillColor));
    }
    auto* mapWindow = qobject_cast<QMdiSubWindow*>(map.parentWidget());
    QMdiSubWindow* own = mapWindow->mdiArea()->addSubWindow(this);
    own->show();
    own->resize(mapWindow->size());
    own->move(mapWindow->geometry().right() + 10, 0);
    QApplication::processEvents();
}

PaintFloor::~PaintFloor()
{
    if (parentWidget() != nullptr)
        parentWidget()->deleteLater();
}

void PaintFloor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    background_.Draw(painter);
    for (std::size_t k = 0; k < rects_.size(); ++k)
        painter.fillRect(rects_[k], colors_[k]);
}

void PaintFloor::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    background_.PaintBackground(*this);
}
