// Pair kerning read from a positioning table: glyph pairs, class pairs behind
// an extension lookup, the sum over lookups, and tables cut short.

#include "tools/media/OpenTypeKerning.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace orv::media {
namespace {

void put(Bytes& out, std::initializer_list<int> words) {
    for (const int w : words) {
        out.push_back(static_cast<std::uint8_t>((w >> 8) & 0xFF));
        out.push_back(static_cast<std::uint8_t>(w & 0xFF));
    }
}

// A table with one "kern" feature of two lookups. Lookup 0 (pair format 1):
// glyph 3 then 5 by -50. Lookup 1 (an extension holding pair format 2, with
// x placement before x advance in its records): first classes {3: 0, 4: 1},
// second classes {5..9: 1}; class pairs (0, 1) by -20 and (1, 1) by -30.
Bytes sampleTable() {
    Bytes t;
    put(t, {1, 0, 0, 10, 26});                      // header: version, lists at 10 and 26
    put(t, {1, 'k' << 8 | 'e', 'r' << 8 | 'n', 8}); // one feature record
    put(t, {0, 2, 0, 1});                           // the feature: lookups 0 and 1
    put(t, {2, 6, 38});                             // lookup list at 26
    put(t, {2, 0, 1, 8});                           // lookup 0 at 32: pair, one subtable
    put(t, {1, 18, 0x0004, 0, 1, 12});              // pair format 1 at 40
    put(t, {1, 5, -50});                            // its pair set
    put(t, {1, 1, 3});                              // its coverage: glyph 3
    put(t, {9, 0, 1, 8});                           // lookup 1 at 64: extension
    put(t, {1, 2, 0, 8});                           // extension at 72, to 80
    put(t, {2, 32, 0x0005, 0, 42, 52, 2, 2});       // pair format 2 at 80
    put(t, {0, 0, 7, -20, 0, 0, 0, -30});           // class records (placement, advance)
    put(t, {2, 1, 3, 4, 0});                        // coverage: glyphs 3-4
    put(t, {1, 3, 2, 0, 1});                        // first classes
    put(t, {2, 1, 5, 9, 1});                        // second classes
    return t;
}

TEST(OpenTypeKerning, ReadsGlyphAndClassPairsAndAddsTheLookups) {
    const OpenTypeKerning kerning(sampleTable());
    EXPECT_TRUE(kerning.hasPairs());
    struct Case {
        int left, right, amount;
    };
    const Case cases[] = {
        {3, 5, -70},            // both lookups
        {3, 9, -20},            // class pair only
        {4, 6, -30}, {3, 2, 0}, // covered, but the second glyph has no pair
        {7, 5, 0},              // not covered
        {5, 3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kerning.adjustment(static_cast<std::uint16_t>(c.left),
                                     static_cast<std::uint16_t>(c.right)),
                  c.amount)
            << c.left << " " << c.right;
    }
    EXPECT_FALSE(OpenTypeKerning(Bytes{}).hasPairs());
}

// Cut anywhere, the table gives at most what it holds, and never reads past
// its end (the sanitizers watch).
TEST(OpenTypeKerning, TablesCutShortGiveNoMoreThanTheyHold) {
    const Bytes whole = sampleTable();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const OpenTypeKerning kerning(
            Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
        const int amount = kerning.adjustment(3, 5);
        EXPECT_TRUE(amount == 0 || amount == -50 || amount == -20 || amount == -70) << length;
        EXPECT_EQ(kerning.adjustment(7, 5), 0);
    }
    // Offsets that point far outside the table.
    Bytes wild = whole;
    wild[9] = 0xFF;
    EXPECT_EQ(OpenTypeKerning(wild).adjustment(3, 5), 0);
}

} // namespace
} // namespace orv::media
