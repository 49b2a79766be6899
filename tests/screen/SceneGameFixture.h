#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "game/board/GameType.h"
#include "game/board/Level.h"
#include "game/board/Tile.h"
#include "game/screen/BoardDisplay.h"
#include "game/screen/SceneGame.h"
#include "tests/board/GameFixture.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace orv {
class RendererDisplay;
}

namespace orv::test {

/// A board drawn as plain boxes: tile (x, y, z) covers 40 x 50 pixels from
/// (100 + 20 x, 50 + 25 y) moved up-left by 4 pixels a layer. It counts the
/// looks it is asked for and keeps the tiles that got the hint looks.
class GridDisplay : public BoardDisplay {
public:
    GameNode& getNode() override { return node_; }
    int getWidth() const override { return 600; }
    int getHeight() const override { return 500; }
    void build(const Layout& /*layout*/, const TileList& /*extra*/) override {}
    void rebuild(const Layout& /*layout*/) override {}
    void detachTiles() override {}
    void flush() override {}
    Tile* tileAt(const Layout& layout, int x, int y) override;
    void placeTile(const Tile& /*tile*/) override { ++placed; }
    void removeTile(const Tile& /*tile*/) override {}
    void invalidate() override {}
    void setLayersVisible(bool visible) override { layersVisible = visible; }
    void applyLayerColors() override {}
    int tileScreenX(int x, int z) const override { return 100 + 20 * x - 4 * z; }
    int tileScreenY(int y, int z) const override { return 50 + 25 * y - 4 * z; }
    void refreshTile(const Tile& /*tile*/) override {}
    void startTilePulse(const Tile& /*tile*/) override { ++pulses; }
    void startTileSelect(const Tile& /*tile*/) override { ++selects; }
    void startTileHover(const Tile& /*tile*/) override { ++hovers; }
    void startTilePlain(const Tile& tile) override { plain.push_back(&tile); }
    void startTileHint(const Tile& tile) override { superHinted.push_back(&tile); }
    void startTileHintPulse(const Tile& tile) override { hintPulsed.push_back(&tile); }
    void startTileSwell(const Tile& /*tile*/) override {}
    void startTileLighten(const Tile& /*tile*/) override {}
    void startTileFade(const Tile& /*tile*/, int /*multiplier*/) override { ++fades; }

    /// Clears the counts and lists (each test starts from nothing).
    static void resetCounts();

    static inline int placed = 0;
    static inline int pulses = 0;
    static inline int selects = 0;
    static inline int hovers = 0;
    static inline int fades = 0;
    static inline bool layersVisible = true;
    static inline std::vector<const Tile*> hintPulsed;
    static inline std::vector<const Tile*> superHinted;
    static inline std::vector<const Tile*> plain;

private:
    GameNode node_;
};

/// The factory of `GridDisplay`s.
[[nodiscard]] BoardDisplay* makeGridDisplay();
/// The real board renderer with small generated pictures; the last one made
/// is `lastRendererDisplay`.
[[nodiscard]] BoardDisplay* makeRendererDisplay();
extern RendererDisplay* lastRendererDisplay;

/// The centre of `tile` on the grid display.
[[nodiscard]] std::pair<int, int> pointOf(const Tile& tile);

/// A playing screen over a level of the test's making, driven frame by
/// frame with a fixed clock.
class SceneGameTest : public GameTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A Classic level of four pairs on one layer, entered on a new screen;
    // `place` names the level's place before the screen sees it.
    Game& enter(const std::string& attributes = R"(playTime="1000")",
                const std::function<void(Level&)>& place = {});
    /// A level of `type` on a board with tiles at `places` (dealt until it
    /// can be cleared), in `where`, entered on a new screen.
    Game& enterBoard(GameType type, std::initializer_list<TilePos> places, Place where,
                     const std::string& attributes = R"(playTime="1000")");
    /// A new screen from the definition store's "SCENE_GAME" (an empty
    /// scene when the store has none), opened.
    void openScene();
    // One frame: the scene's own update, then everything that moves.
    void frame(int dt);
    // Frames of `dt` ms until the level is played (no state), at most `limit`.
    void stepUntilPlaying(int dt = 16, int limit = 500);
    void click(const Tile& tile);
    // Plays the hinted pair; false when there is none.
    bool playHintedPair(Game& game);

    RefPtr<SceneGame> scene;
};

} // namespace orv::test
