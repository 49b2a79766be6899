#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace orv::test {

// The cases the fast row loops of every pixel format are checked with
// against their reference: alpha patterns over a row and global alphas.

/// How the alphas (or plane bytes) of a source row are laid out.
enum class AlphaPattern { Zero, Opaque, Almost, Mixed, Random };

/// The alpha of one element: 0, 255 or 254 for the uniform patterns,
/// `mixed` (the element's value in the caller's cycle) for Mixed, and the
/// low byte of the next number of `random` for Random (the only pattern
/// that draws a number).
inline int patternAlpha(AlphaPattern pattern, int mixed, std::mt19937& random) {
    switch (pattern) {
    case AlphaPattern::Zero:
        return 0;
    case AlphaPattern::Opaque:
        return 255;
    case AlphaPattern::Almost:
        return 254;
    case AlphaPattern::Mixed:
        return mixed;
    case AlphaPattern::Random:
        return static_cast<int>(random() & 0xFFU);
    }
    return 0;
}

struct RowCase {
    AlphaPattern pattern;
    int g;
};

/// Every alpha pattern at the global alphas that matter: 1, the halfway 128,
/// 254, and 255, where the full-weight shortcuts can apply.
inline std::vector<RowCase> patternsAndAlphas() {
    std::vector<RowCase> cases;
    for (AlphaPattern pattern : {AlphaPattern::Zero, AlphaPattern::Opaque, AlphaPattern::Almost,
                                 AlphaPattern::Mixed, AlphaPattern::Random}) {
        for (int g : {1, 128, 254, 255}) {
            cases.push_back({pattern, g});
        }
    }
    return cases;
}

/// The case for a trace line.
inline std::string describe(const RowCase& c) {
    static constexpr const char* kPatterns[] = {"zero", "opaque", "almost", "mixed", "random"};
    return std::string("alphas ") + kPatterns[static_cast<int>(c.pattern)] + ", g " +
           std::to_string(c.g);
}

/// The test name of a table case: its `name` field.
template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& param) {
    return std::string(param.param.name);
}

} // namespace orv::test
