#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The owner of every sector, 2501 entries (indexes 0 to 2500). Every access is
// checked: an index outside the range is refused, never read or written.
class OwnerGridArray {
public:
    static constexpr std::int32_t Capacity = 2501;

    static constexpr bool InRange(std::int64_t index) { return index >= 0 && index < Capacity; }

    std::optional<std::int32_t> Get(std::int64_t index) const
    {
        if (!InRange(index))
            return std::nullopt;
        return values_[static_cast<std::size_t>(index)];
    }
    // Owner of a sector known to lie on the map; 0 for an index the grid does not hold.
    std::int32_t At(std::int64_t index) const { return Get(index).value_or(0); }

    bool Set(std::int64_t index, std::int32_t owner)
    {
        if (!InRange(index))
            return false;
        values_[static_cast<std::size_t>(index)] = owner;
        return true;
    }
    void Fill(std::int32_t owner) { values_.fill(owner); }

private:
    std::array<std::int32_t, Capacity> values_{};
};
