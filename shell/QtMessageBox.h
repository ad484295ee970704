#pragma once

#include "document/MessageBoxPort.h"

class QWidget;

// Message boxes as real modal Qt message boxes. A box without a title of its
// own shows the application's title.
class QtMessageBox : public MessageBoxPort {
public:
    explicit QtMessageBox(QWidget* parent) : parent_(parent) {}
    MessageAnswer Show(const std::string& text, const std::string& title, MessageButtons buttons, MessageIcon icon,
                       MessageAnswer defaultButton) override;

private:
    QWidget* parent_;
};
