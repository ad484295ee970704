#pragma once

#include "document/MessageBoxPort.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// A message box that answers from a script and records every call. With the
// script used up it answers the default button.
class FakeMessageBox : public MessageBoxPort {
public:
    struct Call {
        std::string text;
        std::string title;
        MessageButtons buttons;
        MessageIcon icon;
        MessageAnswer defaultButton;
    };

    void Script(std::initializer_list<MessageAnswer> answers);
    // Runs before each answer is returned (for checks made while the box is up).
    void OnShow(std::function<void(const Call&)> callback) { onShow_ = std::move(callback); }

    MessageAnswer Show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon, MessageAnswer defaultButton) override;

    const std::vector<Call>& Calls() const { return calls_; }
    int Count() const { return static_cast<int>(calls_.size()); }
    int CountOf(const std::string& text) const;

private:
    std::deque<MessageAnswer> answers_;
    std::vector<Call> calls_;
    std::function<void(const Call&)> onShow_;
};
