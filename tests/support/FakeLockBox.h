#pragma once

#include "document/LockBoxPort.h"

#include <functional>
#include <string>
#include <vector>

// The lock check box: keeps 0, 1 or 2 and runs its handler on every change,
// by default the sector lock. Every SetValue is noted in log when it is set.
class FakeLockBox : public LockBoxPort {
public:
    explicit FakeLockBox(int value = 0);

    int Value() const override { return value_; }
    void SetValue(int value) override;
    // Changes the value without running the handler (a box built checked).
    void Preset(int value) { value_ = value; }

    std::function<void()> handler;
    int handlerRuns = 0;
    std::vector<std::string>* log = nullptr;

private:
    int value_;
};
