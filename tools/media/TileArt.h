#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"
#include "tools/media/Raster.h"

#include <array>
#include <filesystem>
#include <vector>

namespace orv::media {

/// The board's metrics the pictures are drawn for (the RENDERER_* and TILE_*
/// tuning constants of mahjong.xml): a face 40 x 52, the body's right and
/// bottom edges 6 wide, the shadow strips 4 deep, face-sheet rows 53 apart.
struct TileMetrics {
    static constexpr int kFaceW = 40;
    static constexpr int kFaceH = 52;
    static constexpr int kSide = 6;
    static constexpr int kShadow = 4;
    static constexpr int kRowPitch = kFaceH + 1;
    static constexpr int kSheetW = 9 * kFaceW;
    static constexpr int kSheetH = 5 * kRowPitch;
};

/// The four tile sets, in the player's order of choice.
enum class TileSet { Traditional = 0, LargePrint = 1, IvoryJade = 2, ModernFlat = 3 };

/// The tile body ("TILE"): the ivory face 40 x 52 at (0, 0) with its edge
/// running 6 pixels down and right, ivory over a jade back.
[[nodiscard]] ColorImage drawTileBody();

/// A face sheet ("SYMBOLS<n>"): one transparent 40 x 52 cell per face, the
/// suits in the rows the board reads (dots, bamboo, characters, then the
/// flowers and seasons, then the winds and dragons). `fonts` is the folder
/// of the font packages (the characters come from AR PL UKai).
[[nodiscard]] ColorImage drawFaceSheet(TileSet set, const std::filesystem::path& fonts);

/// The cell of `suit` (0-6) and value `idx` in a face sheet, pixels.
[[nodiscard]] int faceSheetX(int suit, int idx);
[[nodiscard]] int faceSheetY(int suit);

/// A whole tile as the board shows it: the body with the face laid on it.
[[nodiscard]] ColorImage composeTile(const ColorImage& body, const ColorImage& sheet, int suit,
                                     int idx);

/// Whole tiles of set 1 drawn smaller, for pictures that show a few tiles
/// (the help pages): faces `faceW` x `faceH` with an edge in proportion, one
/// per (suit, idx) of `faces`, with transparent surroundings.
[[nodiscard]] std::vector<ColorImage> drawSmallTiles(const std::vector<std::array<int, 2>>& faces,
                                                     int faceW, int faceH,
                                                     const std::filesystem::path& fonts);

/// Draws the tile body, its shadow, the preview tile, the four face sheets,
/// the six preview backgrounds and the side-board pictures, adds them under
/// media/images/tiles/, and shows them on the contact sheet with every face
/// of every set at full size and a small board of each set.
void addTileArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet);

} // namespace orv::media
