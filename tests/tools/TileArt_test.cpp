// The tile faces read apart at the board's own size in every set, also under
// the shade the board lays on tiles that are not free.

#include "tools/media/TileArt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace orv::media {
namespace {

// The board's shade on a tile that is not free: black at this alpha of 255.
constexpr double kShadeAlpha = 70.0;

struct Lab {
    double l, a, b;
};

double linear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double labCurve(double t) {
    return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0;
}

// CIE L*a*b* (D65) of an sRGB colour given as 0..1 channels.
Lab toLab(double r, double g, double b) {
    const double lr = linear(r);
    const double lg = linear(g);
    const double lb = linear(b);
    const double x = (0.4124 * lr + 0.3576 * lg + 0.1805 * lb) / 0.95047;
    const double y = 0.2126 * lr + 0.7152 * lg + 0.0722 * lb;
    const double z = (0.0193 * lr + 0.1192 * lg + 0.9505 * lb) / 1.08883;
    return {116.0 * labCurve(y) - 16.0, 500.0 * (labCurve(x) - labCurve(y)),
            200.0 * (labCurve(y) - labCurve(z))};
}

double distance(const Lab& p, const Lab& q) {
    return std::hypot(p.l - q.l, p.a - q.a, p.b - q.b);
}

double chroma(const Lab& p) {
    return std::hypot(p.a, p.b);
}

// The mean colour of a dot's body in a face-sheet cell: the ring between
// 42 % and 56 % of its radius, clear of every set's centre and rim marks;
// `shade` darkens it as the board does.
Lab dotColour(const ColorImage& sheet, int idx, double cx, double cy, double r, bool shade) {
    const int x0 = faceSheetX(0, idx);
    const int y0 = faceSheetY(0);
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r); ++y) {
        for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d < 0.42 * r || d > 0.56 * r) {
                continue;
            }
            const std::uint32_t p = sheet.at(x0 + x, y0 + y);
            for (int c = 0; c < 3; ++c) {
                sum[c] += ((p >> (16 - 8 * c)) & 0xFFU) / 255.0;
            }
            ++n;
        }
    }
    const double keep = shade ? 1.0 - kShadeAlpha / 255.0 : 1.0;
    return toLab(sum[0] / n * keep, sum[1] / n * keep, sum[2] / n * keep);
}

class TileArt : public ::testing::TestWithParam<TileSet> {
protected:
    static const ColorImage& sheet(TileSet set) {
        static std::array<ColorImage, 4> sheets;
        ColorImage& kept = sheets.at(static_cast<std::size_t>(set));
        if (kept.pixels.empty()) {
            kept = drawFaceSheet(set, ORVANTA_MEDIA_FONTS);
        }
        return kept;
    }
};

// The three suit colours of the dots (green, red, blue: the three-dot face
// holds one of each) stay far apart and clearly coloured, shaded or not.
TEST_P(TileArt, SuitColoursStayApartAndClearUnderTheShade) {
    const ColorImage& faces = sheet(GetParam());
    // The large print draws its pictures smaller, down and right, to make
    // room for the corner index.
    const bool small = GetParam() == TileSet::LargePrint;
    const auto place = [small](double v, double shift) {
        return small ? shift + 0.84 * v : v;
    };
    const double r = small ? 7.0 * 0.84 : 7.0;
    // The shade takes some colour away; what is left must still tell the
    // suits apart at a glance.
    struct Case {
        bool shade;
        double apart;
        double colourful;
    };
    for (const Case& c : {Case{false, 70.0, 45.0}, Case{true, 55.0, 36.0}}) {
        SCOPED_TRACE(c.shade ? "shaded" : "plain");
        const Lab blue = dotColour(faces, 2, place(10.5, 5.5), place(11, 7.5), r, c.shade);
        const Lab red = dotColour(faces, 2, place(20, 5.5), place(26, 7.5), r, c.shade);
        const Lab green = dotColour(faces, 2, place(29.5, 5.5), place(41, 7.5), r, c.shade);
        EXPECT_GE(distance(blue, green), c.apart) << "blue and green";
        EXPECT_GE(distance(blue, red), c.apart) << "blue and red";
        EXPECT_GE(distance(green, red), c.apart) << "green and red";
        for (const Lab& dot : {blue, red, green}) {
            EXPECT_GE(chroma(dot), c.colourful)
                << "a murky dot: L " << dot.l << " a " << dot.a << " b " << dot.b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EverySet, TileArt,
                         ::testing::Values(TileSet::Traditional, TileSet::LargePrint,
                                           TileSet::IvoryJade, TileSet::ModernFlat),
                         [](const ::testing::TestParamInfo<TileSet>& set) {
                             return std::to_string(static_cast<int>(set.param) + 1);
                         });

} // namespace
} // namespace orv::media
