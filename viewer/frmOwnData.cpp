#include "viewer/frmOwnData.h"

#include "base/qt/QtColors.h"
#include "base/qt/ScreenTwips.h"
#include "document/LevelText.h"
#include "document/OwnMapColoring.h"
#include "viewer/LevelTextBox.h"
#include "viewer/OwnMapTextBox.h"
#include "viewer/QtRichTextPort.h"

#include <QAccessibleWidget>
#include <QFontDatabase>
#include <QFrame>
#include <QIcon>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>

#include <cstdint>

namespace {

// A fixed-pitch font keeps the grid columns aligned. The level text is ASCII,
// so a Latin monospaced face comes first: on a Japanese desktop the system's
// fixed-pitch font is a Japanese gothic whose "_" vanishes at this size. The
// text is digits and spaces, which need no shaping: skipping it makes laying
// out the coloured text, one run per token, about a third cheaper.
QFont GridFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({"DejaVu Sans Mono", "Consolas", "Courier New", font.family()});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void SetBoxColours(QTextEdit& box, ColorWord background, ColorWord text)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, ToQColor(background));
    palette.setColor(QPalette::Text, ToQColor(text));
    box.setPalette(palette);
}

// The viewer is a top-level window of its own: a screen reader is told that it
// is a window, not a plain area.
QAccessibleInterface* WindowAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("frmOwnData") && object != nullptr && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

frmOwnData::frmOwnData(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      TS1(new QTabBar(this)),
      TS1Frame(new QFrame(this)),
      Text1(new LevelTextBox(this)),
      rtftext(new OwnMapTextBox(this)),
      PB1(new QProgressBar(this)),
      Command1(new QPushButton(QStringLiteral("背景の変更(&B)"), this)),
      Command2(new QPushButton(QStringLiteral("×"), this)),
      twips_{{120, 120, 7695, 6615}, {170, 480, 7575, 6075}, {170, 480, 7575, 6015},
             {120, 6840, 7695, 375},  {6120, 6840, 1695, 495}, {7440, 0, 390, 375}}
{
    static const bool windowRoleKnown = (QAccessible::installFactory(WindowAccessible), true);
    Q_UNUSED(windowRoleKnown);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("マップデータ"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));

    TS1->setObjectName(QStringLiteral("TS1"));
    TS1->addTab(QStringLiteral("データ表示"));
    TS1->addTab(QStringLiteral("ビジュアル表示(非常に時間がかかります)"));
    TS1->setExpanding(false);
    TS1->setDrawBase(false);
    TS1Frame->setFrameShape(QFrame::StyledPanel);

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setFont(GridFont());
    Text1->SetLevelText(MapModule::BuildLevelText());

    rtftext->setObjectName(QStringLiteral("rtftext"));
    rtftext->setReadOnly(true);
    rtftext->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    rtftext->setLineWrapMode(QTextEdit::NoWrap);
    rtftext->setAcceptRichText(false);
    rtftext->setFont(GridFont());
    rtftext->document()->setUndoRedoEnabled(false);
    SetBoxColours(*rtftext, ColorWord::Rgb(255, 255, 255), ColorWord::Rgb(0, 0, 0));
    rtftext->SetOwnMapText(MapModule::BuildOwnMapText());
    rtftext->hide();

    PB1->setObjectName(QStringLiteral("PB1"));
    PB1->setRange(0, 100);
    PB1->setValue(0);
    PB1->setTextVisible(false);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->hide();
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(QStringLiteral("マップデータを閉じる"));
    TS1->setAccessibleName(QStringLiteral("表示の切り替え"));
    Text1->setAccessibleName(QStringLiteral("データ表示のテキスト"));
    rtftext->setAccessibleName(QStringLiteral("ビジュアル表示のテキスト"));
    PB1->setAccessibleName(QStringLiteral("色付けの進み具合"));
    // A focused button takes Enter, as in a dialog.
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(true);

    TS1Frame->lower();
    Command2->raise();
    // The viewer is opened to read and copy the text: the focus starts there,
    // and Tab goes on to the tabs.
    setTabOrder(Text1, TS1);
    Text1->setFocus();

    connect(TS1, &QTabBar::currentChanged, this, &frmOwnData::OnTabChanged);
    connect(Command1, &QPushButton::clicked, this, &frmOwnData::SwitchBackground);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);

    const double perPixel = Twips::ScreenPerPixel(this);
    resize(Twips::ToPixels(DesignClientWidth, perPixel), Twips::ToPixels(DesignClientHeight, perPixel));
    PlaceControls();
}

void frmOwnData::OnTabChanged(int index)
{
    if (index == 0) {
        Text1->show();
        rtftext->hide();
        Command1->hide();
    } else if (index == 1) {
        Text1->hide();
        rtftext->show();
        if (!coloured_) {
            ColorOwnMapText();
            coloured_ = true;
        }
        Command1->show();
        TS1->setTabText(1, QStringLiteral("ビジュアル表示"));
    }
}

void frmOwnData::ColorOwnMapText()
{
    QtRichTextPort port(*rtftext, *PB1);
    ColorOwnMapTextFast(port);
}

void frmOwnData::SwitchBackground()
{
    darkBackground_ = !darkBackground_;
    // Uncoloured text (the header lines) turns white on black so that it stays readable.
    if (darkBackground_)
        SetBoxColours(*rtftext, ColorWord::Rgb(0, 0, 0), ColorWord::Rgb(255, 255, 255));
    else
        SetBoxColours(*rtftext, ColorWord::Rgb(255, 255, 255), ColorWord::Rgb(0, 0, 0));
}

void frmOwnData::ApplyOuterSize(int outerWidthTwips, int outerHeightTwips)
{
    const std::int32_t dw = outerWidthTwips - DesignOuterWidth;
    const std::int32_t dh = outerHeightTwips - DesignOuterHeight;
    if ((dw | dh) <= 0)
        return;
    twips_.ts1.setSize({7695 + dw, 6615 + dh});
    twips_.pb1.setWidth(7695 + dw);
    twips_.rtftext.setSize({7575 + dw, 6135 + dh});
    twips_.text1.setSize({7575 + dw, 5955 + dh});
    twips_.pb1.moveTop(6845 + dh);
    twips_.command1.moveTo(6100 + dw, 6800 + dh);
    twips_.command2.moveLeft(7420 + dw);
    PlaceControls();
}

QRect frmOwnData::TwipGeometry(const QString& controlName) const
{
    if (controlName == QLatin1String("TS1"))
        return twips_.ts1;
    if (controlName == QLatin1String("Text1"))
        return twips_.text1;
    if (controlName == QLatin1String("rtftext"))
        return twips_.rtftext;
    if (controlName == QLatin1String("PB1"))
        return twips_.pb1;
    if (controlName == QLatin1String("Command1"))
        return twips_.command1;
    if (controlName == QLatin1String("Command2"))
        return twips_.command2;
    return {};
}

// The outer size is taken as the client size plus the frame the design
// allows for, so that the layout does not depend on the window manager's frame.
void frmOwnData::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const double perPixel = Twips::ScreenPerPixel(this);
    ApplyOuterSize(Twips::ToTwips(width(), perPixel) + DesignOuterWidth - DesignClientWidth,
                   Twips::ToTwips(height(), perPixel) + DesignOuterHeight - DesignClientHeight);
}

void frmOwnData::PlaceControls()
{
    const QRect strip = ToPixels(twips_.ts1);
    const int tabHeight = std::min(TS1->sizeHint().height(), ToPixels(QRect(0, 0, 0, 360)).height());
    TS1->setGeometry(strip.left(), strip.top(), strip.width(), tabHeight);
    TS1Frame->setGeometry(strip.left(), strip.top() + tabHeight, strip.width(), strip.height() - tabHeight);
    Text1->setGeometry(ToPixels(twips_.text1));
    rtftext->setGeometry(ToPixels(twips_.rtftext));
    PB1->setGeometry(ToPixels(twips_.pb1));
    Command1->setGeometry(ToPixels(twips_.command1));
    Command2->setGeometry(ToPixels(twips_.command2));
}

QRect frmOwnData::ToPixels(const QRect& twips) const { return Twips::ToPixels(twips, Twips::ScreenPerPixel(this)); }
