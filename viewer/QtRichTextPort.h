#pragma once

#include "document/RichTextPort.h"

#include <QTextCharFormat>
#include <QTextCursor>

#include <optional>

class QProgressBar;
class QTextEdit;

// The owner-map colouring's view of a QTextEdit and a QProgressBar.
// The progress value counts on from where the bar stands.
class QtRichTextPort : public RichTextPort {
public:
    QtRichTextPort(QTextEdit& box, QProgressBar& progress);

    std::u16string Text() const override;
    int Length() const override;
    int Find(const std::u16string& token, int start) override;
    void Select(int start, int length) override;
    void SetSelectionColor(ColorWord color) override;
    void SetRunColors(const std::vector<ColorRun>& runs) override;

    void SetProgressMaximum(int maximum) override;
    void AddProgress(int amount) override;
    void ShowProgress() override;
    void HideProgress() override;

private:
    QTextEdit& box_;
    QProgressBar& progress_;
    QTextCursor cursor_;
    QTextCharFormat format_;  // the last colour set, reused while it repeats
    std::optional<ColorWord> formatColor_;
};
