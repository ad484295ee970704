#pragma once

#include <string>

// A path as the user reads it in a caption or a message: full, and written
// the way the system writes its paths.
class ShownPathPort {
public:
    virtual ~ShownPathPort() = default;
    virtual std::string ShownPath(const std::string& path) const = 0;
};
