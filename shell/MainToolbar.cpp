#include "shell/MainToolbar.h"

#include "base/qt/ScreenTwips.h"

#include <QAction>
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

MainToolbar::MainToolbar(QAction& newMap, QAction& open, QWidget* parent) : DockedBar(parent)
{
    setObjectName("Toolbar3");
    setAccessibleName("ツールバー");

    auto* host = new QWidget(this);
    host->setFixedHeight(Twips::ScreenPixels(BarHeightTwips));

    // Buttons 3 and 5 wait for a map window.
    auto* saveAs = new QAction(this);
    saveAs->setObjectName("Toolbar3SaveAs");
    saveAs->setEnabled(false);
    auto* showData = new QAction(this);
    showData->setObjectName("Toolbar3ShowData");
    showData->setEnabled(false);

    int left = 2;
    AddButton(host, 1, newMap, "new", "新規作成", left);
    left += ButtonPixels;
    AddButton(host, 2, open, "open", "開く", left);
    left += ButtonPixels;
    AddButton(host, 3, *saveAs, "save", "保存", left);
    left += ButtonPixels;
    auto* separator = new QFrame(host);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(left + SeparatorPixels / 2 - 1, 6, 2, ButtonPixels);
    left += SeparatorPixels;
    AddButton(host, 5, *showData, "data", "データの表示", left);

    frame4_ = new QGroupBox("ブラシオプション", host);
    frame4_->setObjectName("Frame4");
    frame4_->setGeometry(Twips::ScreenRect(4320, 0, 2175, 735));
    brushSize1_ = new QComboBox(frame4_);
    brushSize1_->setObjectName("BrushSize1");
    brushSize1_->setEditable(false);
    // Read on Windows; a reader on Linux takes the frame's caption instead.
    brushSize1_->setAccessibleName("ブラシサイズ");
    brushSize1_->setGeometry(Twips::ScreenRect(240, 280, 1695, 300));

    host->setMinimumWidth(frame4_->geometry().right() + 8);
    addWidget(host);
}

void MainToolbar::AddButton(QWidget* host, int number, QAction& action, const QString& picture, const QString& tip,
                            int left)
{
    // The menu keeps showing text only.
    action.setIconVisibleInMenu(false);
    action.setToolTip(tip);
    auto* button = new QToolButton(host);
    button->setObjectName(QString("Toolbar3Button%1").arg(number));
    button->setDefaultAction(&action);
    button->setAccessibleName(tip);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(left, 6, ButtonPixels - 2, ButtonPixels);
    buttons_[number - 1] = button;
    pictures_[number - 1] = picture;
}

void MainToolbar::LoadPictures()
{
    // The brighter picture shows while the pointer is over the button.
    for (int n = 0; n < 5; ++n) {
        if (buttons_[n] == nullptr || !buttons_[n]->defaultAction()->icon().isNull())
            continue;
        QIcon icon;
        icon.addPixmap(QPixmap(QString(":/icons/%1.png").arg(pictures_[n])), QIcon::Normal);
        icon.addPixmap(QPixmap(QString(":/icons/%1_hot.png").arg(pictures_[n])), QIcon::Active);
        buttons_[n]->defaultAction()->setIcon(icon);
    }
}

QToolButton* MainToolbar::Button(int number) const
{
    if (number < 1 || number > 5)
        return nullptr;
    return buttons_[number - 1];
}

QAction* MainToolbar::Action(int number) const
{
    const QToolButton* button = Button(number);
    return button ? button->defaultAction() : nullptr;
}
