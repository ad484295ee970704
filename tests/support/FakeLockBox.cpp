#include "support/FakeLockBox.h"

#include "document/SectorLock.h"

FakeLockBox::FakeLockBox(int value) : handler(MapModule::ApplySectorLock), value_(value) {}

void FakeLockBox::SetValue(int value)
{
    if (value < 0 || value > 2 || value == value_)
        return;
    value_ = value;
    ++handlerRuns;
    if (handler)
        handler();
}
