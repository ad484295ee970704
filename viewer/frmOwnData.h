#pragma once

#include <QRect>
#include <QWidget>

class LevelTextBox;
class OwnMapTextBox;
class QFrame;
class QProgressBar;
class QPushButton;
class QTabBar;

// The map data viewer: the level-data text as plain text on tab 1 and the
// own_map section coloured by owner on tab 2. The text is built once when the
// window is created. Closing the window deletes it (WA_DeleteOnClose).
// Controls carry their names as object names: TS1, Text1, rtftext, PB1,
// Command1, Command2.
class frmOwnData : public QWidget {
    Q_OBJECT
public:
    explicit frmOwnData(QWidget* parent = nullptr);

    // The window's size as laid out by design, outer and client, in twips.
    static constexpr int DesignOuterWidth = 8085;
    static constexpr int DesignOuterHeight = 7830;
    static constexpr int DesignClientWidth = 7965;
    static constexpr int DesignClientHeight = 7320;

    // Lays the controls out for an outer window size in twips. Controls move
    // only when neither size is below the design size and one is above it.
    void ApplyOuterSize(int outerWidthTwips, int outerHeightTwips);

    // A control's position and size in twips as last laid out; null if the
    // name is none of the controls.
    QRect TwipGeometry(const QString& controlName) const;

    bool IsColoured() const { return coloured_; }
    bool IsDarkBackground() const { return darkBackground_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTabChanged(int index);
    void ColorOwnMapText();
    void SwitchBackground();
    void PlaceControls();
    QRect ToPixels(const QRect& twips) const;

    QTabBar* TS1;
    QFrame* TS1Frame;
    LevelTextBox* Text1;
    OwnMapTextBox* rtftext;
    QProgressBar* PB1;
    QPushButton* Command1;
    QPushButton* Command2;

    struct Layout {
        QRect ts1, text1, rtftext, pb1, command1, command2;
    } twips_;
    bool coloured_ = false;
    bool darkBackground_ = false;
};
