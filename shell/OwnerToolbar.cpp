#include "shell/OwnerToolbar.h"

#include "base/qt/QtColors.h"
#include "base/qt/ScreenTwips.h"
#include "document/MapModule.h"
#include "document/OwnerTable.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int BarWidthTwips = 570;
constexpr int StripHeightTwips = 255;

struct OwnerButton {
    const char* picture;  // nullptr: no picture
    const char* tip;
};

// Toolbar order: blank, pointer, owners 1 to 6, owner 0.
constexpr OwnerButton Buttons[9] = {
    {nullptr, "　"},
    {"pointer", nullptr},
    {"owner1", "レジスタンス"},
    {"owner2", "スルゴガー"},
    {"owner3", "マイコニア"},
    {"owner4", "ターカスト"},
    {"owner5", "ブラックセクト"},
    {"owner6", "ゴアカフ"},
    // The stored tip reads "ターゲット&&非占領土"; a tooltip shows it with one "&".
    {"owner0", "ターゲット&非占領土"},
};

// What a screen reader calls a button: the owner it selects (its name in the
// owner table, as the map's sectors are named), the pointer, or the blank one.
QString ButtonName(int number)
{
    const std::optional<int> owner = OwnerToolbar::OwnerForButton(number);
    if (!owner)
        return QStringLiteral("空き");
    if (*owner == MapModule::OwnerNone)
        return QStringLiteral("ポインタ");
    return QString::fromUtf8(OwnerTable[static_cast<std::size_t>(*owner)].replaceName);
}
}  // namespace

OwnerToolbar::OwnerToolbar(QWidget* parent) : DockedBar(parent)
{
    setObjectName("Toolbar1");
    setAccessibleName("オーナーセレクト");

    const int width = Twips::ScreenPixels(BarWidthTwips);
    auto* host = new QWidget(this);
    host->setFixedWidth(width);
    // A toolbar's background role is Button: without this its children would
    // draw their text in ButtonText and fill in Button, not in their colours.
    host->setBackgroundRole(QPalette::Window);
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    // Picture2: the title strip in the active caption colour; its close
    // button sits at the strip's right end so that it stays reachable.
    auto* strip = new QWidget(host);
    strip->setObjectName("Picture2");
    strip->setFixedSize(width, Twips::ScreenPixels(StripHeightTwips));
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, ToQColor(ColorWord::System(SystemColor::ActiveCaption)));
    strip->setPalette(palette);
    command2_ = new QPushButton("×", strip);
    command2_->setObjectName("Command2");
    command2_->setAccessibleName("オーナーセレクトを閉じる");
    command2_->setFocusPolicy(Qt::TabFocus);
    command2_->setAutoDefault(true);  // takes Enter while it has the focus
    command2_->setGeometry(width - Twips::ScreenPixels(255), 0, Twips::ScreenPixels(255), Twips::ScreenPixels(225));
    connect(command2_, &QPushButton::clicked, this, &OwnerToolbar::CloseRequested);
    layout->addWidget(strip);

    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int number = 1; number <= 9; ++number) {
        const OwnerButton& entry = Buttons[number - 1];
        auto* button = new QToolButton(host);
        button->setObjectName(QString("Toolbar1Button%1").arg(number));
        button->setFixedSize(width, width);
        button->setIconSize(QSize(32, 32));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        if (entry.tip)
            button->setToolTip(QString::fromUtf8(entry.tip));
        button->setAccessibleName(ButtonName(number));
        if (number >= 2) {
            button->setCheckable(true);
            group_->addButton(button, number);
            button->installEventFilter(this);
        }
        connect(button, &QToolButton::clicked, this, [this, number] { SelectOwner(number); });
        layout->addWidget(button);
        buttons_[number - 1] = button;
    }
    layout->addStretch(1);
    // The pointer shows pressed at start, while CurrentOwner keeps its
    // start-up value until a button is pressed.
    buttons_[1]->setChecked(true);
    buttons_[1]->setAccessibleDescription("マップを押しても塗りません");
    // A screen reader checks a button of the group without a click: that selects as well.
    connect(group_, &QButtonGroup::idToggled, this, [this](int number, bool checked) {
        if (checked)
            SelectOwner(number);
    });
    addWidget(host);
}

void OwnerToolbar::LoadPictures()
{
    for (int number = 1; number <= 9; ++number) {
        const char* picture = Buttons[number - 1].picture;
        if (picture != nullptr && buttons_[number - 1]->icon().isNull())
            buttons_[number - 1]->setIcon(QIcon(QString(":/icons/%1.png").arg(picture)));
    }
}

QToolButton* OwnerToolbar::Button(int number) const
{
    if (number < 1 || number > 9)
        return nullptr;
    return buttons_[number - 1];
}

std::optional<int> OwnerToolbar::OwnerForButton(int number)
{
    if (number == 2)
        return MapModule::OwnerNone;
    if (number >= 3 && number <= 8)
        return number - 2;
    if (number == 9)
        return 0;
    return std::nullopt;
}

bool OwnerToolbar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        QAbstractButton* pressed = group_->checkedButton();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && pressed != nullptr &&
            pressed != watched && pressed->isEnabled())
            pressed->setFocus(reason);
    }
    return DockedBar::eventFilter(watched, event);
}

void OwnerToolbar::ChooseOwner(int owner)
{
    if (owner == MapModule::OwnerNone)
        return;
    for (int number = 2; number <= 9; ++number) {
        if (OwnerForButton(number) == owner) {
            buttons_[number - 1]->click();
            return;
        }
    }
}

void OwnerToolbar::SelectOwner(int number)
{
    const std::optional<int> owner = OwnerForButton(number);
    if (!owner || *owner == MapModule::CurrentOwner)
        return;
    MapModule::CurrentOwner = *owner;
    emit OwnerSelected();
}
