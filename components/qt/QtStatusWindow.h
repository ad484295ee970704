#pragma once

#include <QColor>
#include <QStatusBar>

#include <cstdint>
#include <string>
#include <vector>

// The status window: a bar along an edge of its parent that draws each part
// up to its right edge with a sunken, raised or borderless frame, the part's
// text and, when asked for, a size grip. A fresh window has one part that
// spans the bar. Texts are kept as they were handed in, at most 0xFFFF code-page bytes.
class QtStatusWindow : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int MaxParts = 256;
    static constexpr int MaxMinHeight = 32767;

    QtStatusWindow(QWidget* parent, std::uint32_t style);

    bool SetParts(const std::vector<int>& rightEdges);
    bool SetText(int part, std::uint32_t drawFlags, const std::string& text);
    std::uint32_t TextLength(int part) const;
    std::string Text(int part) const;
    bool SetMinHeight(int height);
    void SetBackColor(const QColor& color);
    // Lays the bar along its parent's edge at the parent's current size.
    void Refit();

    int PartCount() const { return static_cast<int>(parts_.size()); }
    QRect PartRect(int part) const;
    QString PartText(int part) const;
    std::uint32_t PartFlags(int part) const;
    bool HasSizeGrip() const { return grip_; }
    bool AtTop() const { return top_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Part {
        int right = -1;  // -1 runs to the bar's end
        std::uint32_t flags = 0;
        std::string text;
    };

    int BarHeight() const;

    std::vector<Part> parts_;
    QColor backColor_;
    int minHeight_ = 0;
    bool grip_ = false;
    bool top_ = false;
};
