#pragma once

#include "platform/FileBytes.h"

#include <cstddef>
#include <utility>

namespace FileBytes {
// The reason a save gives for a system's error code, from the system's table
// of the codes it tells apart; any other code is Other.
template <class Code, std::size_t Size>
WriteStatus ReasonOf(Code error, const std::pair<Code, WriteStatus> (&reasons)[Size])
{
    for (const auto& [code, status] : reasons)
        if (code == error)
            return status;
    return WriteStatus::Other;
}
}  // namespace FileBytes
