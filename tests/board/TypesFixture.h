#pragma once

#include "game/board/Game.h"
#include "tests/board/GameFixture.h"

#include <string>
#include <vector>

namespace orv::test {

/// Tests of the game types other than Classic: a game of any type started
/// on a layout, seeding, and the board's state as text.
class GameTypeTest : public GameTest {
protected:
    /// A new current game of `type` dealt on `layout`; fails the test (and
    /// gives null) when the level is refused.
    Game* start(GameType type, Layout* layout, const std::string& attributes = {});
    /// Seeds both random sources from `seed`.
    static void seed(int seed);
    /// A layout loaded from the fixtures for `type`.
    [[nodiscard]] static RefPtr<Layout> load(const char* file, GameType type, int sideBoard = 0);
    /// A side board of `columns` x `rows` slots given to `layout`.
    static void addSideBoard(Layout& layout, int columns, int rows);
    /// "x,y,z:key" of every grid tile, then "slot c,r:key" of every
    /// side-board tile, then "score N".
    [[nodiscard]] static std::vector<std::string> snapshot(Game& game);
};

} // namespace orv::test
