// Materials: opaque, the same for the same seed, different for another, with
// texture in them, and seamless where they say they tile.

#include "tools/media/Materials.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace orv::media {
namespace {

float channelSum(const Rgba& c) {
    return c.r + c.g + c.b;
}

// The mean difference between neighbouring columns (rows), and across the
// seam from the last column (row) back to the first.
std::pair<double, double> steps(const Pixmap& p, bool columns) {
    const int lines = columns ? p.width : p.height;
    const int length = columns ? p.height : p.width;
    double inner = 0, seam = 0;
    for (int k = 0; k < lines; ++k) {
        const int next = (k + 1) % lines;
        for (int i = 0; i < length; ++i) {
            const Rgba& a = columns ? p.at(k, i) : p.at(i, k);
            const Rgba& b = columns ? p.at(next, i) : p.at(i, next);
            const double d = std::abs(channelSum(a) - channelSum(b));
            (next == 0 ? seam : inner) += d;
        }
    }
    return {inner / ((lines - 1.0) * length), seam / length};
}

TEST(Materials, AreRepeatableTexturedOpaqueAndSeamlessWhereTheyTile) {
    using Make = std::function<Pixmap(int, int, std::uint32_t)>;
    struct Case {
        const char* name;
        Make make;
        bool tiles;
    };
    const Case cases[] = {
        {"wood", [](int w, int h, std::uint32_t s) { return wood(w, h, s, mahoganyWood()); }, true},
        {"wood across",
         [](int w, int h, std::uint32_t s) {
             return wood(w, h, s, walnutWood(), WoodGrain{6, 3, false});
         },
         true},
        {"veneer", [](int w, int h, std::uint32_t s) { return veneer(w, h, s, mahoganyVeneer()); },
         false},
        {"marble", [](int w, int h, std::uint32_t s) { return marble(w, h, s, ivoryMarble()); },
         true},
        {"jade", [](int w, int h, std::uint32_t s) { return jade(w, h, s, jadeStone()); }, true},
        {"felt", [](int w, int h, std::uint32_t s) { return felt(w, h, s, hex(0x1D5E44)); }, true},
        {"paper", [](int w, int h, std::uint32_t s) { return paper(w, h, s, hex(0xF5E8CC)); },
         true},
        {"brushed gold",
         [](int w, int h, std::uint32_t s) { return brushedMetal(w, h, s, goldMetal()); }, true},
        {"brushed brass upright",
         [](int w, int h, std::uint32_t s) { return brushedMetal(w, h, s, brassMetal(), false); },
         true},
        {"lacquer", [](int w, int h, std::uint32_t s) { return lacquer(w, h, s, redLacquer()); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Pixmap a = c.make(96, 64, 7U);
        const Pixmap again = c.make(96, 64, 7U);
        const Pixmap other = c.make(96, 64, 8U);
        ASSERT_EQ(a.width, 96);
        ASSERT_EQ(a.height, 64);
        EXPECT_EQ(a.toImage().pixels, again.toImage().pixels);
        EXPECT_NE(a.toImage().pixels, other.toImage().pixels);
        EXPECT_TRUE(a.toImage().isOpaque());
        float lo = 3.0F;
        float hi = 0.0F;
        for (const Rgba& p : a.pixels) {
            lo = std::min(lo, channelSum(p));
            hi = std::max(hi, channelSum(p));
        }
        EXPECT_GT(hi - lo, 0.02F) << "no texture";
        if (c.tiles) {
            for (const bool columns : {true, false}) {
                const auto [inner, seam] = steps(a, columns);
                EXPECT_LT(seam, inner * 3.0 + 0.01) << (columns ? "columns" : "rows");
            }
        }
    }
}

} // namespace
} // namespace orv::media
