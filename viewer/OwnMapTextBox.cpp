#include "viewer/OwnMapTextBox.h"

#include "viewer/LevelTextBox.h"

#include <QMimeData>
#include <QTextDocumentFragment>

OwnMapTextBox::OwnMapTextBox(QWidget* parent) : QTextEdit(parent) {}

void OwnMapTextBox::SetOwnMapText(const std::string& text)
{
    text_ = text;
    setPlainText(LevelTextBox::Displayed(text));
}

QMimeData* OwnMapTextBox::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setHtml(QTextDocumentFragment(textCursor()).toHtml());
    data->setText(LevelTextBox::SelectedPart(text_, textCursor()));
    return data;
}
