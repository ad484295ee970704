#include "shell/MainToolbar.h"

#include "components/qt/ScreenTwips.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QToolButton>

namespace {
constexpr int BarHeightTwips = 795;
constexpr int ButtonPixels = 40;
constexpr int SeparatorPixels = 8;
}  // namespace

MainToolbar::MainToolbar(QWidget* parent) : DockedBar(parent)
{
    setObjectName("Toolbar3");

    auto* host = new QWidget(this);
    host->setFixedHeight(Twips::ScreenPixels(BarHeightTwips));

    int left = 2;
    AddButton(host, 1, "new", "新規作成", left);
    left += ButtonPixels;
    AddButton(host, 2, "open", "開く", left);
    left += ButtonPixels;
    AddButton(host, 3, "save", "保存", left);
    left += ButtonPixels;
    auto* separator = new QFrame(host);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(left + SeparatorPixels / 2 - 1, 6, 2, ButtonPixels);
    left += SeparatorPixels;
    AddButton(host, 5, "data", "データの表示", left);

    frame4_ = new QGroupBox("ブラシオプション", host);
    frame4_->setObjectName("Frame4");
    frame4_->setGeometry(Twips::ScreenRect(4320, 0, 2175, 735));
    brushSize1_ = new QComboBox(frame4_);
    brushSize1_->setObjectName("BrushSize1");
    brushSize1_->setEditable(false);
    brushSize1_->setGeometry(Twips::ScreenRect(240, 280, 1695, 300));

    host->setMinimumWidth(frame4_->geometry().right() + 8);
    addWidget(host);

    // Buttons 3 and 5 wait for a map window.
    buttons_[2]->setEnabled(false);
    buttons_[4]->setEnabled(false);
}

QToolButton* MainToolbar::AddButton(QWidget* host, int number, const QString& picture, const QString& tip, int left)
{
    QIcon icon;
    icon.addPixmap(QPixmap(QString(":/icons/%1.png").arg(picture)), QIcon::Normal);
    icon.addPixmap(QPixmap(QString(":/icons/%1_hot.png").arg(picture)), QIcon::Active);
    auto* button = new QToolButton(host);
    button->setObjectName(QString("Toolbar3Button%1").arg(number));
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(left, 6, ButtonPixels - 2, ButtonPixels);
    connect(button, &QToolButton::clicked, this, [this, number] { emit ButtonClicked(number); });
    buttons_[number - 1] = button;
    return button;
}

QToolButton* MainToolbar::Button(int number) const
{
    if (number < 1 || number > 5)
        return nullptr;
    return buttons_[number - 1];
}
