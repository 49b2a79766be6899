#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

/// The font of a score floater: "FONT_SCORE_FLOATER" and the multiplier
/// clamped to 1..6, so the digits grow with the multiplier.
[[nodiscard]] std::string floaterFontName(int multiplier);
/// A score floater's text: the points, then " x " and the multiplier when
/// the multiplier is above 1 ("150 x 3").
[[nodiscard]] std::string floaterText(int points, int multiplier);
/// The whole seconds of a time penalty of `penaltyMs` milliseconds as the
/// floater shows them: minus, truncated toward zero (999 ms shows 0).
[[nodiscard]] int penaltySeconds(int penaltyMs);
/// `pattern` with every "%" replaced by `seconds` in decimal.
[[nodiscard]] std::string penaltyText(std::string_view pattern, int seconds);

/// Where the stars of a super or mega score rest, in the show's own pixels.
struct StarRow {
    int count = 0; ///< 2 for a super score, 3 for a mega score
    int total = 0; ///< width of the row: neighbours overlap by 15 pixels
    int x0 = 0;    ///< centre of the first star
    int step = 0;  ///< from one star's centre to the next
    [[nodiscard]] int xOf(int i) const { return x0 + i * step; }
    [[nodiscard]] int lastX() const { return xOf(count - 1); }
};
/// The star row of show kind `kind` (1 super, 2 mega) for stars
/// `starWidth` pixels wide; a row of 0 stars for any other kind.
[[nodiscard]] StarRow superScoreStars(int kind, int starWidth);
/// Milliseconds from the start of a super (kind 1) or mega (kind 2) score
/// show to its removal; 0 for any other kind.
[[nodiscard]] int superScoreDuration(int kind);

/// The pixels of the super-hint countdown picture revealed from the left:
/// (duration - remaining) x `imageWidth` / duration, within 0..imageWidth.
/// A duration of 0 or less (a missing setting) reveals nothing.
[[nodiscard]] int superHintRevealWidth(int duration, int remaining, int imageWidth);

/// The alpha of light `index` (0..28) of the high-score bar `elapsedMs`
/// into its run under a bar of alpha `barAlpha`: each light rises over
/// 20 ms to 80/255 of the bar's alpha, holds 200 ms, fades over 720 ms and
/// rests, one light every 40 ms, the cycle repeating every 1160 ms.
[[nodiscard]] int highScoreLightAlpha(int index, std::int64_t elapsedMs, int barAlpha);

/// The stars thrown around a removed tile at bonus multiplier `multiplier`:
/// none up to 6, else multiplier - 3 of them (at most 30) thrown
/// sqrt(multiplier - 6) x 15 + 10 pixels.
struct TileStars {
    int count = 0;
    int distance = 0;
};
[[nodiscard]] TileStars tileRemovalStars(int multiplier);
/// Whether a removed tile shines at `multiplier` (4 and above).
[[nodiscard]] bool tileRemovalShines(int multiplier);

} // namespace orv
