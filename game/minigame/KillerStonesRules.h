#pragma once

#include <array>
#include <string_view>

namespace orv {

/// A rectangle in screen pixels: left, top, width, height.
struct StoneRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

/// What a destroyed tile earns: the points and the multiplier they are
/// shown with; the score grows by points * multiplier.
struct StoneScore {
    int points = 0;
    int multiplier = 1;
};

/// The rules of the falling-tiles game that do not depend on drawing: hit
/// rectangles, scoring, pick-ups, levels, spawn places and stereo panning.
/// Draws come from the process-wide `RandomGenerator`.
class KillerStonesRules {
public:
    /// What a member of the shots list is (its node tag).
    enum ShotTag : int {
        kShot = 0,      ///< a normal or laser shot
        kBombPiece = 1, ///< one piece of a bomb
        kShieldBar = 2, ///< a shield bar at the bottom
        kFragShot = 3,  ///< a frag shot, which bursts on its hit
        kFragPiece = 4, ///< a piece of a burst frag shot
    };
    /// A falling tile's tag.
    static constexpr int kSteadyTile = 0;
    static constexpr int kSwayingTile = 1;

    /// The pick-up kinds, in the order of their weights and names.
    enum Pickup : int {
        kNoPickup = -1,
        kRapidFire = 0,
        kLaser = 1,
        kFrag = 2,
        kExtraBomb = 3,
        kShield = 4,
        kBonusScore = 5,
    };
    static constexpr int kPickupCount = 6;
    static constexpr std::array<int, kPickupCount> kPickupWeights{400, 250, 350, 150, 150, 100};
    static constexpr std::array<std::wstring_view, kPickupCount> kPickupNames{
        L"Shoot!", L"Laser!", L"Frag!", L"Extra bomb!", L"Shield", L"+1000 Score!"};

    static constexpr int kScreenWidth = 800;
    static constexpr int kScreenHeight = 600;
    /// Hits that clear a level, counted over the whole game: (level + 1) * this.
    static constexpr int kHitsPerLevel = 25;
    /// A pick-up comes with every this many hits.
    static constexpr int kHitsPerPickup = 10;
    /// Pixels a falling tile's rectangle is shrunk by on every side.
    static constexpr int kTileMargin = 10;
    /// Two tiles in a row spawn at least this far apart horizontally.
    static constexpr int kSpawnSpacing = 100;
    static constexpr int kSpawnMinX = 40;
    static constexpr int kSpawnMaxX = 760;

    /// Pixels a shot's rectangle is shrunk by on every side, by its tag;
    /// 0 for an unknown tag.
    [[nodiscard]] static int hitMargin(int shotTag);
    /// `rect` shrunk by `margin` on every side (it may end up empty).
    [[nodiscard]] static StoneRect shrink(const StoneRect& rect, int margin);
    /// True when the two rectangles overlap: each right edge lies strictly
    /// right of the other's left edge and each bottom edge strictly below
    /// the other's top edge. An empty rectangle (width or height 0 or less)
    /// meets nothing.
    [[nodiscard]] static bool meet(const StoneRect& a, const StoneRect& b);
    /// What a tile of `tileTag` earns when `shotTag` destroys it: 20 (50 for a
    /// swaying tile), doubled as a multiplier for a frag piece; a shield bar
    /// costs 250 whatever the tile.
    [[nodiscard]] static StoneScore scoreFor(int shotTag, int tileTag);
    /// The stereo pan of a sound at screen x: 64 + x * 128 / 800 (integer
    /// division), kept within 0 to 255.
    [[nodiscard]] static int panFor(int x);
    /// True when the hit that brought the count to `hits` gives a pick-up
    /// at `level` (from 0): a multiple of 10 below the level's goal.
    [[nodiscard]] static bool givesPickup(int hits, int level);
    /// True once `hits` has reached the goal of `level` (several hits can
    /// come in one frame, so the goal can be passed).
    [[nodiscard]] static bool isLevelCleared(int hits, int level);
    /// A pick-up kind drawn by the weights, drawn again while it equals
    /// `previous`.
    [[nodiscard]] static int drawPickup(int previous);
    /// The ease-out curve of the game's moves: e(t) = 1 - (t - 1)^2.
    [[nodiscard]] static float easeOut(float t) { return 1.0F - (t - 1.0F) * (t - 1.0F); }
    /// A spawn x in [40, 760), drawn again until it lies at least 100 pixels
    /// from `lastX`.
    [[nodiscard]] static int drawSpawnX(int lastX);
};

} // namespace orv
