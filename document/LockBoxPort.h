#pragma once

// The frame's lock check box Check1: 0 = off, 1 = on, 2 = undetermined.
class LockBoxPort {
public:
    virtual ~LockBoxPort() = default;
    virtual int Value() const = 0;
    // Accepts 0, 1 and 2 only (any other value keeps the state). A change of
    // state runs the box's change handler, which applies the sector lock.
    virtual void SetValue(int value) = 0;
};
