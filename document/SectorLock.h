#pragma once

namespace MapModule {
// Brings the outer ring of sectors in line with Check1: 1 locks it (owner 0,
// hatched), 0 unlocks it (owner 0, plain), anything else does nothing.
void ApplySectorLock();
}  // namespace MapModule
