#pragma once

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"
#include "game/board/Layout.h"
#include "game/board/Tile.h"
#include "game/screen/BoardLook.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace orv::test {

/// Small board metrics, so that every pixel of a fixture can be compared:
/// a face of 8 x 10, edges and layer steps of 2, shadow strips of 2 and 1.
[[nodiscard]] BoardMetrics smallMetrics();
/// Tints with distinct colours and round numbers.
[[nodiscard]] TileTints testTints();

/// A look of `smallMetrics` with generated pictures: a body whose every
/// pixel differs (its outer corners half transparent), a half-transparent
/// shadow and a face sheet of varied colours and alphas.
[[nodiscard]] RefPtr<BoardLook> makeSmallLook();

/// Every screen test starts with the settings table and the tuning
/// constants the face sheet's rows are read from (a face 10 high).
class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

/// A tile at `pos` with face (suit, idx).
[[nodiscard]] RefPtr<Tile> makeFaceTile(TilePos pos, int suit = 0, int idx = 0);
/// A layout holding a tile at each place, faces cycling through suit 0.
[[nodiscard]] RefPtr<Layout> makeBoard(std::initializer_list<TilePos> places);
/// The tile whose origin is `pos`, or null (borrowed from the layout).
[[nodiscard]] Tile* originTile(const Layout& layout, TilePos pos);

/// The image's pixels as 0xAARRGGBB words, row by row.
[[nodiscard]] std::vector<std::uint32_t> pixelsOf(Image& image);
/// One pixel of a 32-bit image.
[[nodiscard]] std::uint32_t pixelAt(Image& image, int x, int y);

} // namespace orv::test
