#include "shell/MapDataPanel.h"

#include "base/qt/QtColors.h"
#include "base/qt/ScreenTwips.h"
#include "document/OwnerTable.h"
#include "shell/LockCheckBox.h"
#include "shell/TitleStrip.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {
constexpr int PanelWidthTwips = 3015;

QPalette WithText(QPalette palette, const QColor& color)
{
    palette.setColor(QPalette::WindowText, color);
    return palette;
}
}  // namespace

MapDataPanel::MapDataPanel(QWidget* parent) : DockedBar(parent)
{
    setObjectName("Toolbar2");
    setAccessibleName("マップデータの詳細");

    auto* host = new QWidget(this);
    host->setFixedWidth(Twips::ScreenPixels(PanelWidthTwips));
    // A toolbar's background role is Button: without this its children would
    // draw their text in ButtonText and fill in Button, not in their colours.
    host->setBackgroundRole(QPalette::Window);
    host->setMinimumHeight(Twips::ScreenPixels(6360 + 1695 + 120));

    picture1_ = new TitleStrip(host);
    picture1_->setGeometry(Twips::ScreenRect(0, 0, 3015, 255));
    command1_ = new QPushButton("×", picture1_);
    command1_->setObjectName("Command1");
    command1_->setAccessibleName("マップデータの詳細を閉じる");
    command1_->setFocusPolicy(Qt::TabFocus);
    command1_->setGeometry(Twips::ScreenRect(2760, 0, 255, 255));
    connect(command1_, &QPushButton::clicked, this, &MapDataPanel::CloseRequested);

    QGroupBox* frame1 = MakeFrame(host, "Frame1", "マップインフォメーション", Twips::ScreenRect(120, 480, 2775, 3735), true);
    auto* image1 = new QLabel(frame1);
    image1->setObjectName("Image1");
    image1->setAccessibleName("マップインフォメーションのアイコン");
    image1->setGeometry(Twips::ScreenRect(120, 480, 480, 480));
    image1_ = image1;
    const QPalette blue = WithText(palette(), QColor(0, 0, 255));
    label1_ = new QLabel("X:", frame1);
    label1_->setObjectName("Label1");
    label2_ = new QLabel("Y:", frame1);
    label2_->setObjectName("Label2");
    for (QLabel* label : {label1_, label2_}) {
        label->setPalette(blue);
        label->setFixedHeight(Twips::ScreenPixels(180));
    }
    label1_->move(Twips::ScreenPixels(720), Twips::ScreenPixels(480));
    label2_->move(Twips::ScreenPixels(720), Twips::ScreenPixels(800));
    for (int owner = 0; owner < OwnerCount; ++owner) {
        const int top = 1200 + 360 * owner;
        auto* swatch = new QLabel(frame1);
        swatch->setObjectName(QString("Shape1_%1").arg(owner));
        swatch->setGeometry(Twips::ScreenRect(120, top, 255, 255));
        swatches_[owner] = swatch;
        auto* label = new QLabel(frame1);
        label->setObjectName(QString("Label3_%1").arg(owner));
        swatch->setAccessibleName(QString("%1の色").arg(QString::fromUtf8(OwnerTable[owner].replaceName)));
        label->setGeometry(Twips::ScreenRect(480, top, 2175, 255));
        label->setPalette(WithText(palette(), Qt::black));
        legendLabels_[owner] = label;
    }

    QGroupBox* frame2 = MakeFrame(host, "Frame2", "編集", Twips::ScreenRect(120, 4320, 2655, 1935), false);
    picture3_ = new QWidget(frame2);
    picture3_->setObjectName("Picture3");
    picture3_->setGeometry(Twips::ScreenRect(120, 240, 2415, 1575));
    picture3_->installEventFilter(this);
    command3_ = new QPushButton("データの表示(&D)", picture3_);
    command3_->setObjectName("Command3");
    command3_->setGeometry(Twips::ScreenRect(240, 120, 1935, 495));
    connect(command3_, &QPushButton::clicked, this, &MapDataPanel::ShowDataRequested);
    command4_ = new QPushButton("置換(&R)", picture3_);
    command4_->setObjectName("Command4");
    command4_->setGeometry(Twips::ScreenRect(240, 960, 1935, 495));
    connect(command4_, &QPushButton::clicked, this, &MapDataPanel::ReplaceRequested);
    // A focused button takes Enter, as in a dialog.
    for (QPushButton* button : {command1_, command3_, command4_})
        button->setAutoDefault(true);

    QGroupBox* frame3 = MakeFrame(host, "Frame3", "拡張機能", Twips::ScreenRect(120, 6360, 2775, 1695), true);
    check1_ = new LockCheckBox("見えないセクタのロック(&L)", frame3);
    check1_->setObjectName("Check1");
    check1_->setGeometry(Twips::ScreenRect(240, 360, 2295, 255));
    check1_->setPalette(WithText(palette(), Qt::black));
    label4_ = new QLabel("外側のセクタをすべてロックしますので既にデータが入っていた場合は無効になります", frame3);
    label4_->setObjectName("Label4");
    label4_->setWordWrap(true);
    label4_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label4_->setGeometry(Twips::ScreenRect(480, 720, 1965, 780));
    label4_->setPalette(WithText(palette(), ToQColor(ColorWord::System(SystemColor::Highlight))));

    addWidget(host);
}

QGroupBox* MapDataPanel::MakeFrame(QWidget* host, const char* name, const QString& caption, QRect geometry,
                                   bool captionColored)
{
    auto* frame = new QGroupBox(caption, host);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    if (captionColored)
        frame->setPalette(WithText(frame->palette(), ToQColor(ColorWord::System(SystemColor::ActiveCaption))));
    return frame;
}

void MapDataPanel::FillLegend()
{
    for (int owner = 0; owner < OwnerCount; ++owner) {
        // An opaque square in the legend colour with a thin black outline.
        QPixmap square(swatches_[owner]->size());
        square.fill(ToQColor(OwnerTable[owner].legendColor));
        QPainter painter(&square);
        painter.setPen(Qt::black);
        painter.drawRect(square.rect().adjusted(0, 0, -1, -1));
        painter.end();
        swatches_[owner]->setPixmap(square);
        // The stored caption escapes "&" as "&&"; the label shows one "&".
        QString caption = QString::fromUtf8(OwnerTable[owner].legendLabel);
        caption.replace("&&", "&");
        legendLabels_[owner]->setText(caption);
    }
}

void MapDataPanel::LoadPictures()
{
    if (image1_->pixmap().isNull())
        image1_->setPixmap(QPixmap(":/icons/map.png"));
}

void MapDataPanel::DrawTitle()
{
    const QString title = QStringLiteral("MAP & DATA");
    picture1_->DrawText(Twips::ScreenPixels(920), Twips::ScreenPixels(50), title);
    // The strip is a picture: a screen reader reads the title from its name.
    picture1_->setAccessibleName(title);
}

bool MapDataPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picture3_ && event->type() == QEvent::MouseButtonPress) {
        emit ShowDataRequested();
        return true;
    }
    return DockedBar::eventFilter(watched, event);
}
