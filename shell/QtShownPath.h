#pragma once

#include "document/ShownPathPort.h"

// Paths as the system writes them: full (with the drive on Windows) and with
// its own separators, "\" on Windows. Qt and the command line hand paths in
// with "/" on every system.
class QtShownPath : public ShownPathPort {
public:
    std::string ShownPath(const std::string& path) const override;
};
