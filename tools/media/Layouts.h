#pragma once

// The game's layouts and level files as the media tool handles them: the
// reviewable source form of a layout (media/layouts/<id>.txt), the checks that
// keep every layout and level playable, and the layout files the game reads
// ("media/levels/<id>.xml").
//
// A layout source is plain text:
//
//     # comment lines start with '#'
//     name: Tea Tray
//     racks: 4x2 4x1 3x1 2x1          (optional; "CxR" or "CxR@x,y")
//
//     layer 0
//     [][][][]
//     --------
//     .[][][].
//     .------.
//
// Each map line is one row of cells (half a tile) and each character one
// column, so a tile covers two by two characters: "[]" on its top row and
// "--" below. A tile half a tile lower or further right than its neighbours
// simply starts one character lower or further right. '.' or a blank is an
// empty cell. Every layer's map starts at grid cell (0, 0), so the layers of
// one file line up character by character; a row with nothing in it still
// needs a '.' to count as a row. A map ends at a blank line.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::media {

/// The layout grid in cells: tile origins run from 0 to 39 across, 0 to 19
/// down and 0 to 6 up.
inline constexpr int kGridColumns = 41;
inline constexpr int kGridRows = 21;
inline constexpr int kGridLayers = 7;

/// The part of the playing screen a board may cover, in cells (a cell is
/// half a tile face: 20 x 26 pixels): 15 tiles across and 8 down, or 13
/// across when a rack stands beside the board.
inline constexpr int kBoardWidth = 30;
inline constexpr int kBoardWidthBesideRack = 26;
inline constexpr int kBoardHeight = 16;

/// Where a rack stands when its source gives no place: the side board's
/// spot on the playing screen, in pixels (SIDEBOARD_LOCATIONX/Y). The
/// largest rack (4 x 2, 194 x 138) then ends 10 pixels inside the screen's
/// right edge and 20 above the console, and clears the widest board.
inline constexpr int kRackX = 596;
inline constexpr int kRackY = 70;

/// The six game types, numbered as the game numbers them.
enum class GameType { Classic = 0, FreeCell = 1, Split = 2, Triple = 3, River = 4, Speed = 5 };

/// The game type named exactly as the level files name it ("Classic",
/// "Freecell", "Split", "Triple", "River", "Speed"), or none.
[[nodiscard]] std::optional<GameType> gameTypeNamed(std::string_view name);

/// One tile's origin cell.
struct LayoutTile {
    int x = 0;
    int y = 0;
    int z = 0;
    friend bool operator==(const LayoutTile&, const LayoutTile&) = default;
};

/// One side board a layout offers: slot columns and rows, and its place on
/// the screen in pixels.
struct Rack {
    int columns = 0;
    int rows = 0;
    int x = kRackX;
    int y = kRackY;
    friend bool operator==(const Rack&, const Rack&) = default;
};

/// A layout as its source describes it.
struct LayoutDesign {
    std::string id;                ///< the source's file stem, also the layout file's
    std::string name;              ///< the name the game shows
    std::vector<LayoutTile> tiles; ///< by layer, then row, then column
    std::vector<Rack> racks;       ///< in the order the levels' side-board index counts
    [[nodiscard]] int tileCount() const { return static_cast<int>(tiles.size()); }
    [[nodiscard]] int tilesOnLayer(int z) const;
    /// Occupied cells across and down (0 for no tiles).
    [[nodiscard]] int width() const;
    [[nodiscard]] int height() const;
};

/// Reads a layout's source. On a fault it gives nothing and sets `error` to
/// "line N: what is wrong".
[[nodiscard]] std::optional<LayoutDesign> parseLayout(std::string_view id, std::string_view text,
                                                      std::string& error);

/// Faults of a layout on its own, each a sentence naming the tile or rack:
/// no name or no tiles, a tile outside the grid, two tiles on one cell, a
/// tile above layer 0 that rests on fewer than two of its four cells (half
/// its face), a board larger than the screen allows, a rack with no slots or
/// off the screen. Empty when the layout is sound.
[[nodiscard]] std::vector<std::string> layoutFaults(const LayoutDesign& layout);

/// How many faces the game's face distribution hands out for `tiles` tiles
/// (groups of `groupSize` faces, `bonusCount` bonus tiles per cycle, over
/// suits of the sizes given: the five ordinary suits, then the two bonus
/// suits). It equals `tiles` exactly when every tile gets a face and every
/// face is in a complete group; fewer leaves tiles without a partner, more
/// would spill over. When the coin for the first bonus suit matters, a count
/// that misses `tiles` for any coin is given.
[[nodiscard]] int facedTileCount(int tiles, int groupSize, int bonusCount,
                                 const std::vector<int>& suitSizes);

/// The suit sizes of the standard tile set (three suits of nine, four winds,
/// three dragons; two bonus suits of four), used when the property files
/// define no "suitDefs".
[[nodiscard]] std::vector<int> standardSuitSizes();

/// Why `layout` cannot be dealt as `type` (an empty string when it can): a
/// tile count the face distribution cannot fill in matching sets (pairs, or
/// triples for Triple, single faces with twins for Split and Speed), a layer
/// with an odd number of tiles for River, no rack for FreeCell, Split and
/// Speed.
[[nodiscard]] std::string gameTypeFault(const LayoutDesign& layout, GameType type,
                                        const std::vector<int>& suitSizes);

/// The layout file the game reads: a property file whose node "layout"
/// holds "displayname", "originalTileCount", the vector "tiles" and, when the
/// layout has racks, the vector "sideboards".
[[nodiscard]] std::string layoutFileXml(const LayoutDesign& layout);

/// The suit sizes of the first "suitDefs" vector among the property files'
/// texts (each element's "size"), or none when no file defines it.
[[nodiscard]] std::optional<std::vector<int>>
suitSizesFrom(const std::vector<std::string>& propertyFiles);

/// Checks the four level files (by file name: "hallway.xml", "casino.xml",
/// "recroom.xml", "roof.xml") against the layouts (by id): each file holds
/// its area (20 floors of 5 rooms; Classic, Freecell, Split, Triple and
/// River at "normal", "hard" and "expert" in the casino; Speed at the three
/// difficulties on the roof; five series in the recreation room); every
/// level names its game type and place, has the keys its type needs, bonus
/// bar and time values above 0, a layout list whose every name is a layout
/// that fits the type, a side-board index that stays within each layout's
/// racks as it progresses, hands that never all drop to 0, and in the
/// hallway silver below gold. Each fault names the file and the level.
[[nodiscard]] std::vector<std::string>
levelFaults(const std::map<std::string, std::string>& levelFiles,
            const std::map<std::string, LayoutDesign>& layouts, const std::vector<int>& suitSizes);

} // namespace orv::media
