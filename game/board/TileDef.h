#pragma once

namespace orv {

/// A face: a suit number and a value within the suit.
struct TileDef {
    int suit = 0;
    int idx = 0;
    friend bool operator==(const TileDef&, const TileDef&) = default;
};

} // namespace orv
