#pragma once

#include "tools/media/Raster.h"

#include <cstdint>
#include <vector>

namespace orv::media {

/// The pair kerning of an OpenType face's positioning table (GPOS): the
/// lookups of its "kern" feature, pair adjustment formats 1 (glyph pairs)
/// and 2 (class pairs), also behind extension lookups. Many modern faces keep
/// their kerning only there, where FreeType's kerning call does not look.
///
/// The table is outside data: every read is bounds-checked, and a table that
/// is cut short or points outside itself gives no kerning for what it
/// cannot reach, never a fault.
class OpenTypeKerning {
public:
    /// Reads `gpos` (the raw table; empty gives no kerning). Keeps a copy.
    explicit OpenTypeKerning(Bytes gpos);

    /// The advance adjustment of `left` when `right` follows it, in font
    /// units (negative pulls the pair together); 0 when the table says
    /// nothing. Glyphs are glyph indices of the face.
    [[nodiscard]] int adjustment(std::uint16_t left, std::uint16_t right) const;
    /// True when the table has at least one pair adjustment lookup.
    [[nodiscard]] bool hasPairs() const { return !subtables_.empty(); }

private:
    [[nodiscard]] int pairAdjustment(std::size_t subtable, std::uint16_t left, std::uint16_t right,
                                     bool* matched) const;

    Bytes table_;
    /// Offsets of the pair adjustment subtables, grouped by lookup.
    std::vector<std::vector<std::size_t>> subtables_;
};

} // namespace orv::media
