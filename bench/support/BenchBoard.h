#pragma once

// What the board and screen benchmarks share: the game's tuning constants,
// generated pictures of the tile art's sizes, and a full board.

#include "engine/core/RefPtr.h"
#include "engine/resources/Image.h"
#include "game/board/Layout.h"
#include "game/screen/BoardLook.h"

namespace orv::bench {

/// The back buffer's size in pixels.
inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;

/// Reads the game's tuning constants (media/properties/mahjong.xml of the
/// source tree) once, with the property, node and scene classes registered,
/// and creates the image manager. Ends the process with a message naming
/// `program` when the board's metrics cannot be read.
void setUpConstants(const char* program);

/// A `width` x `height` picture in varied colours from `seed`; with `alpha`,
/// its alpha falls off toward the edges as the tile art's does. It follows
/// the display format, as loaded pictures do.
[[nodiscard]] RefPtr<Image> picture(int width, int height, bool alpha, unsigned seed);

/// The game's board look (metrics and tints of the constants) over
/// generated tile, shadow and symbol pictures of the art's sizes. Needs
/// `setUpConstants`.
[[nodiscard]] RefPtr<BoardLook> gameLook();

/// Places a block of `columns` x `rows` tiles on layer `z`, its first tile at
/// grid cell (x, y), neighbours two cells apart, faces cycling.
void placeBlock(Layout& board, int x, int y, int z, int columns, int rows);

/// 144 tiles on five layers.
[[nodiscard]] RefPtr<Layout> fullBoard();

} // namespace orv::bench
