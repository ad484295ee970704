#include "support/FakeMessageBox.h"

#include <algorithm>

void FakeMessageBox::Script(std::initializer_list<MessageAnswer> answers)
{
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

MessageAnswer FakeMessageBox::Show(const std::string& text, const std::string& title, MessageButtons buttons,
                                   MessageIcon icon, MessageAnswer defaultButton)
{
    calls_.push_back({text, title, buttons, icon, defaultButton});
    if (onShow_)
        onShow_(calls_.back());
    if (answers_.empty())
        return defaultButton;
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

int FakeMessageBox::CountOf(const std::string& text) const
{
    return static_cast<int>(
        std::count_if(calls_.begin(), calls_.end(), [&text](const Call& call) { return call.text == text; }));
}
