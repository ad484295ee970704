#include "support/FakeLockBox.h"

#include "document/SectorLock.h"

FakeLockBox::FakeLockBox(int value) : handler(MapModule::ApplySectorLock), value_(value) {}

void FakeLockBox::SetValue(int value)
{
    const bool changes = value >= 0 && value <= 2 && value != value_;
    if (log != nullptr)
        log->push_back("lock box " + std::to_string(value) + (changes ? "" : " kept"));
    if (!changes)
        return;
    value_ = value;
    ++handlerRuns;
    if (handler)
        handler();
}
