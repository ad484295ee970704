#pragma once

#include <QPlainTextEdit>

#include <string>

// A read-only box that shows a text whose lines end in CR LF, one line per
// row. What it copies is the text's own characters, CR LF included, for the
// whole text or any part of it.
class LevelTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LevelTextBox(QWidget* parent = nullptr);

    void SetLevelText(const std::string& text);

    // `text` as a text document shows it: each CR LF one line break.
    static QString Displayed(const std::string& text);
    // The characters of `text` that a selection in its displayed document
    // covers.
    static QString SelectedPart(const std::string& text, const QTextCursor& selection);

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    std::string text_;
};
