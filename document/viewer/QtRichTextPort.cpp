#include "document/viewer/QtRichTextPort.h"

#include "components/qt/QtColors.h"

#include <QProgressBar>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextEdit>

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

void QtRichTextPort::SetProgressMaximum(int maximum) { progress_.setMaximum(maximum); }

void QtRichTextPort::AddProgress(int amount) { progress_.setValue(progress_.value() + amount); }

void QtRichTextPort::ShowProgress() { progress_.show(); }

void QtRichTextPort::HideProgress() { progress_.hide(); }
