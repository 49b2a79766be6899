#pragma once

#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyNode.h"
#include "game/board/Layout.h"
#include "game/board/Tile.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace orv::test {

/// Every board test starts from the same world: the board's classes
/// registered, a tile manager with the game's seven suits (sizes 9, 9, 9, 4,
/// 3, 4, 4; suits 5 and 6 match by suit), the tuning constants the board
/// reads, and both random sources seeded with fixed numbers.
class BoardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

/// The path of a file in tests/board/fixtures.
[[nodiscard]] std::string fixturePath(std::string_view name);

/// A tile at `pos` with face (suit, idx) (suit 7: no face), not on a board.
[[nodiscard]] RefPtr<Tile> makeTile(TilePos pos, int suit = 7, int idx = 0);
/// A layout holding one faceless tile at each place, in the given order.
[[nodiscard]] RefPtr<Layout> makeLayout(std::initializer_list<TilePos> places);
/// The tile whose origin is `pos`, or null. Borrowed from the layout.
[[nodiscard]] Tile* tileAt(const Layout& layout, TilePos pos);

/// The first top-level child of the XML text `xml` (a document whose root
/// element holds it), as a node; fails the test when there is none.
[[nodiscard]] RefPtr<PropertyNode> parseNode(std::string_view xml);

} // namespace orv::test
