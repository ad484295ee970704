#pragma once

#include "shell/DockedBar.h"

class LockCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TitleStrip;

// Toolbar2 along the right edge: the "MAP & DATA" title strip with its close
// button, the map information with the owner legend, the edit buttons and
// the lock of the invisible sectors.
class MapDataPanel : public DockedBar {
    Q_OBJECT
public:
    explicit MapDataPanel(QWidget* parent = nullptr);

    // Start-up: legend swatches and captions, then "MAP & DATA".
    void FillLegend();
    void DrawTitle();
    // The map information's picture, decoded here.
    void LoadPictures();

    TitleStrip* Picture1() const { return picture1_; }
    QPushButton* Command1() const { return command1_; }
    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }
    QLabel* Swatch(int owner) const { return swatches_[owner]; }
    QLabel* Label3(int owner) const { return legendLabels_[owner]; }
    QPushButton* Command3() const { return command3_; }
    QPushButton* Command4() const { return command4_; }
    LockCheckBox* Check1() const { return check1_; }

signals:
    void CloseRequested();
    void ShowDataRequested();
    void ReplaceRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* image1_ = nullptr;
    QGroupBox* MakeFrame(QWidget* host, const char* name, const QString& caption, QRect geometry, bool captionColored);

    TitleStrip* picture1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* swatches_[7] = {};
    QLabel* legendLabels_[7] = {};
    QWidget* picture3_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    LockCheckBox* check1_ = nullptr;
    QLabel* label4_ = nullptr;
};
