#include "components/qt/QtStatusWindow.h"

#include "base/Cp932.h"
#include "components/StatusBarStyles.h"

#include <QMainWindow>
#include <QPainter>
#include <QSizeGrip>
#include <qdrawutil.h>

#include <algorithm>

namespace {
constexpr int PartGap = 2;
constexpr int GripArea = 24;
constexpr int TextPadding = 4;
}

QtStatusWindow::QtStatusWindow(QWidget* parent, std::uint32_t style)
    : QStatusBar(parent)
    , parts_(1)
    , grip_((style & StatusBarStyles::SizeGrip) != 0)
    , top_((style & StatusBarStyles::PlacementMask) == StatusBarStyles::PlaceTop)
{
    setObjectName(QStringLiteral("STBWindow"));
    setAccessibleName(QStringLiteral("ステータスバー"));
    setSizeGripEnabled(grip_);
    // Left and right placements have no vertical look here: they lie along
    // the bottom like the default.
    auto* frame = qobject_cast<QMainWindow*>(parent);
    if (frame != nullptr && !top_)
        frame->setStatusBar(this);
    else
        Refit();
}

bool QtStatusWindow::SetParts(const std::vector<int>& rightEdges)
{
    if (rightEdges.empty() || rightEdges.size() > static_cast<std::size_t>(MaxParts))
        return false;
    parts_.resize(rightEdges.size());
    for (std::size_t i = 0; i < rightEdges.size(); ++i)
        parts_[i].right = rightEdges[i];
    update();
    return true;
}

bool QtStatusWindow::SetText(int part, std::uint32_t drawFlags, const std::string& text)
{
    if (part < 0 || part >= PartCount())
        return false;
    parts_[static_cast<std::size_t>(part)].flags = drawFlags & StatusBarStyles::DrawFlagsMask;
    parts_[static_cast<std::size_t>(part)].text = Cp932::Prefix(text, 0xFFFF);
    // The parts are drawn, not labels: a screen reader reads their texts here.
    QStringList texts;
    for (int i = 0; i < PartCount(); ++i)
        texts << PartText(i);
    setAccessibleDescription(texts.join(QLatin1Char(' ')).trimmed());
    update();
    return true;
}

std::uint32_t QtStatusWindow::TextLength(int part) const
{
    if (part < 0 || part >= PartCount())
        return 0;
    const Part& p = parts_[static_cast<std::size_t>(part)];
    return static_cast<std::uint32_t>(Cp932::ByteLength(p.text)) | (p.flags << 16);
}

std::string QtStatusWindow::Text(int part) const
{
    return part < 0 || part >= PartCount() ? std::string() : parts_[static_cast<std::size_t>(part)].text;
}

bool QtStatusWindow::SetMinHeight(int height)
{
    if (height < 0 || height > MaxMinHeight)
        return false;
    minHeight_ = height;
    setMinimumHeight(BarHeight());
    updateGeometry();
    return true;
}

void QtStatusWindow::SetBackColor(const QColor& color)
{
    backColor_ = color;
    update();
}

void QtStatusWindow::Refit()
{
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    if (auto* frame = qobject_cast<QMainWindow*>(parent); frame != nullptr && frame->statusBar() == this) {
        updateGeometry();
    } else {
        const int height = BarHeight();
        setGeometry(0, top_ ? 0 : parent->height() - height, parent->width(), height);
        raise();
    }
    update();
}

QRect QtStatusWindow::PartRect(int part) const
{
    if (part < 0 || part >= PartCount())
        return QRect();
    const int end = width() - (grip_ ? GripArea : 0);
    const int left = part == 0 ? 0 : std::max(0, parts_[static_cast<std::size_t>(part - 1)].right) + PartGap;
    const int edge = parts_[static_cast<std::size_t>(part)].right;
    const int right = edge < 0 ? end : std::min(edge, width());
    if (right <= left)
        return QRect();
    return QRect(left, PartGap, right - left, height() - 2 * PartGap);
}

QString QtStatusWindow::PartText(int part) const
{
    return QString::fromStdString(Text(part));
}

std::uint32_t QtStatusWindow::PartFlags(int part) const
{
    return part < 0 || part >= PartCount() ? 0u : parts_[static_cast<std::size_t>(part)].flags;
}

int QtStatusWindow::BarHeight() const
{
    const int textHeight = fontMetrics().height() + 2 * TextPadding;
    return std::max(textHeight, minHeight_ + 2 * PartGap);
}

QSize QtStatusWindow::sizeHint() const
{
    return QSize(QStatusBar::sizeHint().width(), BarHeight());
}

QSize QtStatusWindow::minimumSizeHint() const
{
    return QSize(0, BarHeight());
}

void QtStatusWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), backColor_.isValid() ? backColor_ : palette().color(QPalette::Window));
    for (int i = 0; i < PartCount(); ++i) {
        const QRect area = PartRect(i);
        if (area.isEmpty())
            continue;
        const std::uint32_t flags = parts_[static_cast<std::size_t>(i)].flags;
        if (flags != StatusBarStyles::NoBorders)
            qDrawShadePanel(&painter, area, palette(), flags != StatusBarStyles::Raised, 1);
        const QRect textArea = area.adjusted(TextPadding, 1, -TextPadding, -1);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(PartText(i), Qt::ElideRight, textArea.width()));
    }
}
