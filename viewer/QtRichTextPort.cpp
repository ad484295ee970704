#include "viewer/QtRichTextPort.h"

#include "base/qt/QtColors.h"

#include <QProgressBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

QtRichTextPort::QtRichTextPort(QTextEdit& box, QProgressBar& progress)
    : box_(box), progress_(progress), cursor_(box.document())
{
}

std::u16string QtRichTextPort::Text() const { return box_.document()->toPlainText().toStdU16String(); }

// Every block separator counts as one character, as in the plain text.
int QtRichTextPort::Length() const { return box_.document()->characterCount() - 1; }

int QtRichTextPort::Find(const std::u16string& token, int start)
{
    const QTextCursor found =
        box_.document()->find(QString::fromStdU16String(token), start, QTextDocument::FindCaseSensitively);
    return found.isNull() ? -1 : found.selectionStart();
}

void QtRichTextPort::Select(int start, int length)
{
    const int end = Length();
    cursor_.setPosition(std::clamp(start, 0, end));
    cursor_.setPosition(std::clamp(start + length, 0, end), QTextCursor::KeepAnchor);
}

void QtRichTextPort::SetSelectionColor(ColorWord color)
{
    if (!formatColor_ || *formatColor_ != color) {
        format_ = QTextCharFormat();
        format_.setForeground(ToQColor(color));
        formatColor_ = color;
    }
    cursor_.mergeCharFormat(format_);
}

// One edit block: the box lays the text out once, after the last run. Each
// line keeps its shaped glyphs from that layout, so that painting it does not
// shape it again. A line is laid out and painted piece by piece, one piece
// for each change of colour, so the spaces after a token take its colour
// (a space shows none) and the tokens of one owner in a row become one piece.
void QtRichTextPort::SetRunColors(const std::vector<ColorRun>& runs)
{
    QTextDocument& document = *box_.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    const QString text = document.toPlainText();
    const auto spacesEnd = [&text](int from) {
        while (from < text.size() && text[from] == u' ')
            ++from;
        return from;
    };
    cursor_.beginEditBlock();
    for (std::size_t first = 0, next = 1; first < runs.size(); first = next++) {
        int end = spacesEnd(runs[first].start + runs[first].length);
        for (; next < runs.size() && runs[next].start == end && runs[next].color == runs[first].color; ++next)
            end = spacesEnd(runs[next].start + runs[next].length);
        Select(runs[first].start, end - runs[first].start);
        SetSelectionColor(runs[first].color);
    }
    cursor_.endEditBlock();
}

void QtRichTextPort::SetProgressMaximum(int maximum) { progress_.setMaximum(maximum); }

// The bar shows its new value with the window's next paint: a bar that paints
// at once paints every other part of the window waiting for its paint too,
// the text box included, which then paints again with the rest.
void QtRichTextPort::AddProgress(int amount)
{
    progress_.setUpdatesEnabled(false);
    progress_.setValue(progress_.value() + amount);
    progress_.setUpdatesEnabled(true);
}

void QtRichTextPort::ShowProgress() { progress_.show(); }

void QtRichTextPort::HideProgress() { progress_.hide(); }
