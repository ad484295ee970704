#include "viewer/LevelTextBox.h"

#include <QMimeData>
#include <QTextBlock>

#include <algorithm>

namespace {

// Every line break before a document position stands for two characters of
// the text, CR and LF, and is one in the document.
std::size_t TextOffset(const std::string& text, const QTextDocument& document, int position)
{
    const int breaks = document.findBlock(position).blockNumber();
    return std::min(static_cast<std::size_t>(position) + static_cast<std::size_t>(std::max(breaks, 0)), text.size());
}

}  // namespace

LevelTextBox::LevelTextBox(QWidget* parent) : QPlainTextEdit(parent) {}

void LevelTextBox::SetLevelText(const std::string& text)
{
    text_ = text;
    setPlainText(Displayed(text));
}

QString LevelTextBox::Displayed(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString LevelTextBox::SelectedPart(const std::string& text, const QTextCursor& selection)
{
    const std::size_t from = TextOffset(text, *selection.document(), selection.selectionStart());
    const std::size_t to = TextOffset(text, *selection.document(), selection.selectionEnd());
    return QString::fromLatin1(text.data() + from, static_cast<qsizetype>(to - from));
}

QMimeData* LevelTextBox::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(SelectedPart(text_, textCursor()));
    return data;
}
