#pragma once

#include <QTextEdit>

#include <string>

// The rich text box of the coloured own_map text. It shows the text with each
// CR LF as one line break; as plain text it copies the text's own characters,
// CR LF included, and beside them the selection's colours as HTML.
class OwnMapTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit OwnMapTextBox(QWidget* parent = nullptr);

    void SetOwnMapText(const std::string& text);

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    std::string text_;
};
