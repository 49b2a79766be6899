#pragma once

#include "game/dialogs/HintScreenHook.h"

namespace orv {

class Game;
class SceneGame;

/// The playing screen's side of the tutorial hints: its bars, its clicks and
/// its hint marks, as `DialogHint` reads and drives them. The screen owns
/// one, installs it while it exists and tells it of every board click.
class SceneGameHintHook : public HintScreenHook {
public:
    /// `scene` is borrowed and must outlive the hook.
    explicit SceneGameHintHook(SceneGame& scene) : scene_(scene) {}

    /// The player clicked the board of `game` now (its play time).
    void noteClick(const Game& game);

    std::optional<HintBonusBarFacts> getBonusBar() override;
    std::optional<HintTimeBarFacts> getTimeBar() override;
    bool isSuperHintRunning() override;
    int getMsSinceLastClick() override;
    std::optional<Rect> getTileRect(const Tile& tile) override;
    void clearSelection() override;
    void markHintTile(Tile* tile) override;
    void showHintPair(const TileList& tiles) override;

private:
    // The screen rectangle of the scene's component `name`, or none.
    [[nodiscard]] std::optional<Rect> componentRect(const char* name) const;

    SceneGame& scene_;
    // Compared only, never followed: a click of an earlier game does not count.
    const Game* clickGame_ = nullptr;
    int clickTime_ = 0;
};

} // namespace orv
