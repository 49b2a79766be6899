#pragma once

#include "engine/graphics/Graphics.h"
#include "game/board/Tile.h"

#include <optional>

namespace orv {

/// What the playing screen shows of its bonus bar, for the tutorial hints.
struct HintBonusBarFacts {
    int multiplier = 1; ///< the score multiplier the bar shows
    float fill = 0.0F;  ///< the fill's height over the bar's height, 0 to 1
    Rect bar;           ///< the bar's display part, screen pixels
};

/// What the playing screen shows of its time bar, for the tutorial hints.
struct HintTimeBarFacts {
    int timeMs = 0;    ///< the time left
    int maxTimeMs = 0; ///< the time the level started with
    Rect bar;          ///< the bar's display part, screen pixels
};

/// What the tutorial hints need of the playing screen besides the rules of
/// the current game. The dialogs sit below the screen in the library order,
/// so the screen installs an object of this kind while it exists
/// (`setHintScreenHook`); without one no hint that reads the screen is shown.
///
///     class SceneGameHintHook : public HintScreenHook { ... };   // in game/screen
///     setHintScreenHook(&hook);
///
/// Rectangles are screen pixels. Tiles are borrowed for the call.
class HintScreenHook {
public:
    HintScreenHook() = default;
    HintScreenHook(const HintScreenHook&) = delete;
    HintScreenHook& operator=(const HintScreenHook&) = delete;
    virtual ~HintScreenHook() = default;

    /// The bonus bar while it is shown; none otherwise.
    [[nodiscard]] virtual std::optional<HintBonusBarFacts> getBonusBar() = 0;
    /// The time bar while it is shown; none otherwise.
    [[nodiscard]] virtual std::optional<HintTimeBarFacts> getTimeBar() = 0;
    /// True while the super hint runs.
    [[nodiscard]] virtual bool isSuperHintRunning() = 0;
    /// Milliseconds of play since the player last clicked the board (since
    /// the level started when there was no click yet).
    [[nodiscard]] virtual int getMsSinceLastClick() = 0;
    /// Where `tile`'s face is drawn; none when it is not drawn.
    [[nodiscard]] virtual std::optional<Rect> getTileRect(const Tile& tile) = 0;
    /// Drops the selection and the connecting path.
    virtual void clearSelection() = 0;
    /// The pulsing hint look of one tile; null does nothing.
    virtual void markHintTile(Tile* tile) = 0;
    /// Marks a matching set as the hint and selects it.
    virtual void showHintPair(const TileList& tiles) = 0;
};

/// The installed hook, or null. Borrowed: the installer keeps it alive until
/// it installs null.
[[nodiscard]] HintScreenHook* getHintScreenHook();
void setHintScreenHook(HintScreenHook* hook);

} // namespace orv
