#pragma once

#include <string>

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Error, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// A modal message box. An empty title shows the application's title.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    virtual MessageAnswer Show(const std::string& text, const std::string& title, MessageButtons buttons,
                               MessageIcon icon, MessageAnswer defaultButton) = 0;
};
