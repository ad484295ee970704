#include "view/qt/frmMain.h"

#include "components/qt/QtColors.h"
#include "components/qt/ScreenTwips.h"
#include "document/MapModule.h"
#include "view/MapGridBuilder.h"
#include "view/SectorPainter.h"

#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace {

const char* const MapIcon = ":/icons/map.png";
const char* const BuildErrorText =
    "Map size was very small!! Load is so bad...\r\nPlease select File->New... and select the Mapsize";

}  // namespace

frmMain::frmMain(const MapWindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), background_(BackgroundKind::MapWindow)
{
    setWindowTitle(QString::fromUtf8(DefaultCaption));
    if (QFile::exists(MapIcon))
        setWindowIcon(QIcon(MapIcon));
    cells_.SetChangeCallback([this](int index) { OnCellChanged(index); });
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
    update();
    if (built)
        return true;

    if (MessageBoxPort* messages = context_.messages)
        messages->Show(BuildErrorText, "ERROR", MessageButtons::Ok, MessageIcon::Error, MessageAnswer::Ok);
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

int frmMain::ToPixels(double twips) const { return Twips::ToPixels(twips, TwipsPerPixel()); }

QRect frmMain::CellRectPixels(int index) const
{
    const std::optional<CellRecord> cell = cells_.Find(index);
    if (!cell)
        return {};
    const int left = ToPixels(cell->left);
    const int top = ToPixels(cell->top);
    return QRect(left, top, ToPixels(cell->left + cell->width) - left, ToPixels(cell->top + cell->height) - top);
}

void frmMain::SetOuterSizeTwips(int widthTwips, int heightTwips)
{
    const QSize outer(ToPixels(widthTwips), ToPixels(heightTwips));
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
    // Borders reach outside the cell: repaint a margin around it.
    const int margin = std::max(1, cells_.Cell(index).borderWidth);
    update(CellRectPixels(index).adjusted(-margin, -margin, margin, margin));
}

void frmMain::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    background_.Draw(painter);
    const QRect dirty = event->rect();
    for (int k = 0; k < cells_.CellCount(); ++k) {
        const CellRecord& cell = cells_.Cell(k);
        if (!cell.visible)
            continue;
        const QRect rect = CellRectPixels(k);
        if (!rect.adjusted(-cell.borderWidth, -cell.borderWidth, cell.borderWidth, cell.borderWidth)
                 .intersects(dirty))
            continue;
        const QColor color = ToQColor(cell.fillColor);
        if (cell.opaque)
            painter.fillRect(rect, color);
        if (cell.fillStyle == CellPort::FillLocked)
            painter.fillRect(rect, QBrush(Qt::black, Qt::BDiagPattern));
        if (cell.borderStyle == CellPort::BorderSolid && cell.borderWidth > 0) {
            QPen pen(Qt::black, cell.borderWidth);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
        }
    }
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    background_.PaintBackground(*this);
}

void frmMain::PaintAtPixel(QPointF position)
{
    const double twipsPerPixel = TwipsPerPixel();
    const int brushPosition = context_.frame != nullptr ? context_.frame->BrushSizePosition() : 0;
    SectorPainter::PaintAt(cells_, position.x() * twipsPerPixel, position.y() * twipsPerPixel, brushPosition);
}

void frmMain::mousePressEvent(QMouseEvent* event)
{
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
