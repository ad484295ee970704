#include "view/qt/frmMain.h"

#include "base/qt/QtColors.h"
#include "base/qt/ScreenTwips.h"
#include "document/MapModule.h"
#include "view/MapGridBuilder.h"
#include "view/SectorPainter.h"
#include "view/qt/MapAccessible.h"
#include "view/qt/ReaderListening.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QFile>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace {

const char* const MapIcon = ":/icons/map.png";

}  // namespace

frmMain::frmMain(const MapWindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), background_(BackgroundKind::MapWindow), keyboard_(*this, context.frame)
{
    MapAccessible::Install();
    setWindowTitle(QString::fromUtf8(DefaultCaption));
    if (QFile::exists(MapIcon))
        setWindowIcon(QIcon(MapIcon));
    cells_.SetChangeCallback([this](int index) { OnCellChanged(index); });
    // The background image covers the whole client area: nothing beneath
    // the window needs repainting when part of it is.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The map takes the keys of its sector cursor.
    setFocusPolicy(Qt::StrongFocus);
}

frmMain::~frmMain()
{
    cells_.SetChangeCallback({});
    Unregister();
}

void frmMain::Unregister()
{
    if (context_.documentCells != nullptr && *context_.documentCells == &cells_)
        *context_.documentCells = nullptr;
}

void frmMain::DisableMapCommands()
{
    if (context_.frame != nullptr)
        context_.frame->SetMapCommandsEnabled(false);
}

bool frmMain::Build()
{
    if (context_.documentCells != nullptr)
        *context_.documentCells = &cells_;
    building_ = true;
    const bool built = MapGridBuilder::Build(cells_, context_.frame, [this](int widthTwips, int heightTwips) {
        SetOuterSizeTwips(widthTwips, heightTwips);
    });
    building_ = false;
    rectScale_ = 0.0;
    UpdatePixelRects();
    update();
    if (built)
        return true;

    if (MessageBoxPort* messages = context_.messages)
        messages->Show(MapGridBuilder::FailureText, MapGridBuilder::FailureTitle, MessageButtons::Ok, MessageIcon::Error, MessageAnswer::Ok);
    CloseWindow();
    return false;
}

bool frmMain::CloseWindow()
{
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget()))
        return subWindow->close();
    return close();
}

double frmMain::TwipsPerPixel() const { return Twips::ScreenPerPixel(this); }

int frmMain::BrushSizePosition() const { return context_.frame != nullptr ? context_.frame->BrushSizePosition() : 0; }

QRect frmMain::ComputeCellRect(int index, double twipsPerPixel) const
{
    // Each edge is rounded on its own, so that neighbouring cells touch.
    const CellRecord& cell = cells_.Cell(index);
    const int left = Twips::ToPixels(cell.left, twipsPerPixel);
    const int top = Twips::ToPixels(cell.top, twipsPerPixel);
    return QRect(left, top, Twips::ToPixels(cell.left + cell.width, twipsPerPixel) - left,
                 Twips::ToPixels(cell.top + cell.height, twipsPerPixel) - top);
}

bool frmMain::UpdatePixelRects()
{
    const double twipsPerPixel = TwipsPerPixel();
    const auto count = static_cast<std::size_t>(cells_.CellCount());
    if (twipsPerPixel == rectScale_ && pixelRects_.size() == count)
        return false;
    rectScale_ = twipsPerPixel;
    pixelRects_.resize(count);
    for (std::size_t k = 0; k < count; ++k)
        pixelRects_[k] = ComputeCellRect(static_cast<int>(k), twipsPerPixel);
    rowOrdered_ = IsRowOrdered(pixelRects_);
    return true;
}

bool frmMain::IsRowOrdered(const std::vector<QRect>& rects)
{
    for (std::size_t k = 1; k < rects.size(); ++k) {
        if (rects[k].top() < rects[k - 1].top() || rects[k].bottom() < rects[k - 1].bottom())
            return false;
    }
    return true;
}

std::pair<std::size_t, std::size_t> frmMain::CellsAcross(const QRect& area) const
{
    if (!rowOrdered_)
        return {0, pixelRects_.size()};
    // Rows run top to bottom with the index: only the rows the area crosses.
    const auto first = std::partition_point(pixelRects_.begin(), pixelRects_.end(),
                                            [&](const QRect& rect) { return rect.bottom() < area.top(); });
    const auto end = std::partition_point(first, pixelRects_.end(),
                                          [&](const QRect& rect) { return rect.top() <= area.bottom(); });
    return {static_cast<std::size_t>(first - pixelRects_.begin()), static_cast<std::size_t>(end - pixelRects_.begin())};
}

QRect frmMain::CellRectPixels(int index) const
{
    if (!cells_.Contains(index))
        return {};
    if (static_cast<std::size_t>(index) < pixelRects_.size())
        return pixelRects_[static_cast<std::size_t>(index)];
    return ComputeCellRect(index, TwipsPerPixel());
}

void frmMain::SetOuterSizeTwips(int widthTwips, int heightTwips)
{
    const double twipsPerPixel = TwipsPerPixel();
    const QSize outer(Twips::ToPixels(widthTwips, twipsPerPixel), Twips::ToPixels(heightTwips, twipsPerPixel));
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        subWindow->resize(outer);  // a sub-window's size is its outer size
        return;
    }
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(outer - frame);
}

void frmMain::OnCellChanged(int index)
{
    if (building_)
        return;
    const auto k = static_cast<std::size_t>(index);
    if (k >= pixelRects_.size())
        pixelRects_.resize(static_cast<std::size_t>(cells_.CellCount()));
    // A cell that moved needs its old place repainted too.
    const QRect now = ComputeCellRect(index, rectScale_ > 0.0 ? rectScale_ : TwipsPerPixel());
    if (now != pixelRects_[k]) {
        RequestRepaint(pixelRects_[k]);
        pixelRects_[k] = now;
        rowOrdered_ = IsRowOrdered(pixelRects_);
    }
    RequestRepaint(now);
    if (ReaderListening::Now())
        MapAccessible::CellChanged(*this, index);
}

void frmMain::RequestRepaint(const QRect& rect)
{
    // One rectangle that grows until the next paint: Qt merges it in one
    // step, where a region of many separate cells costs more to build than
    // the cells cost to paint (a replacement or a load changes thousands).
    // Qt already holds a rectangle that contains this one.
    if (pendingRepaint_.contains(rect))
        return;
    pendingRepaint_ |= rect;
    update(pendingRepaint_);
}

void frmMain::PaintCell(QPainter& painter, const CellRecord& cell, const QRect& rect) const
{
    if (cell.opaque)
        painter.fillRect(rect, ToQColor(cell.fillColor));
    if (cell.fillStyle == CellPort::FillLocked)
        painter.fillRect(rect, QBrush(Qt::black, Qt::BDiagPattern));
    if (cell.borderStyle == CellPort::BorderSolid && cell.borderWidth > 0) {
        // A solid outline of the border's width in pixels, inside the cell on
        // all four sides.
        const int w = std::min(cell.borderWidth, (std::min(rect.width(), rect.height()) + 1) / 2);
        painter.fillRect(rect.left(), rect.top(), rect.width(), w, Qt::black);
        painter.fillRect(rect.left(), rect.bottom() - w + 1, rect.width(), w, Qt::black);
        painter.fillRect(rect.left(), rect.top(), w, rect.height(), Qt::black);
        painter.fillRect(rect.right() - w + 1, rect.top(), w, rect.height(), Qt::black);
    }
}

void frmMain::paintEvent(QPaintEvent* event)
{
    if (UpdatePixelRects())
        update();  // the screen's scale changed: everything moves
    pendingRepaint_ = QRect();
    QPainter painter(this);
    background_.Draw(painter);
    const QRect dirty = event->rect();
    int painted = 0;
    const auto [first, end] = CellsAcross(dirty);
    for (std::size_t k = first; k < end; ++k) {
        const QRect& rect = pixelRects_[k];
        if (!rect.intersects(dirty))
            continue;
        const CellRecord& cell = cells_.Cell(static_cast<int>(k));
        if (!cell.visible)
            continue;
        PaintCell(painter, cell, rect);
        ++painted;
    }
    lastPaintedCells_ = painted;
    keyboard_.Paint(painter, dirty);
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    background_.PaintBackground(*this);
}

void frmMain::PaintAtPixel(QPointF position)
{
    // The pointer meets the cells at the scale they are shown at.
    const double twipsPerPixel = rectScale_ > 0.0 ? rectScale_ : TwipsPerPixel();
    const int brushPosition = context_.frame != nullptr ? context_.frame->BrushSizePosition() : 0;
    SectorPainter::PaintAt(cells_, position.x() * twipsPerPixel, position.y() * twipsPerPixel, brushPosition);
}

void frmMain::mousePressEvent(QMouseEvent* event)
{
    keyboard_.PointerPressed();
    PaintAtPixel(event->position());
}

void frmMain::mouseMoveEvent(QMouseEvent* event)
{
    if (SectorPainter::PointerPressed)
        PaintAtPixel(event->position());
}

void frmMain::mouseReleaseEvent(QMouseEvent*)
{
    SectorPainter::PointerPressed = false;
}

void frmMain::keyPressEvent(QKeyEvent* event)
{
    if (!keyboard_.KeyPress(*event))
        QWidget::keyPressEvent(event);
}

void frmMain::focusInEvent(QFocusEvent* event) { keyboard_.FocusIn(event->reason()); }

void frmMain::focusOutEvent(QFocusEvent*) { keyboard_.FocusOut(); }

bool frmMain::focusNextPrevChild(bool next)
{
    return keyboard_.FocusNextOutside(next) || QWidget::focusNextPrevChild(next);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (MapModule::MapChanged == MapModule::True) {
        if (MessageBoxPort* messages = context_.messages) {
            const MessageAnswer answer = messages->Show("変更されていますが終了しますか?", "終了",
                                                        MessageButtons::YesNo, MessageIcon::Question,
                                                        MessageAnswer::Yes);
            if (answer != MessageAnswer::Yes) {
                event->ignore();
                return;
            }
        }
        MapModule::MapChanged = MapModule::False;
    }
    event->accept();
    // Closed: the map commands go with the window, and so do its cells.
    DisableMapCommands();
    Unregister();
}
