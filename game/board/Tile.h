#pragma once

#include "engine/core/RefPtr.h"
#include "engine/scene/Sprite.h"
#include "game/board/TileSuit.h"

#include <string_view>
#include <vector>

namespace orv {

class AbstractProperty;
class PropertyNode;

/// A place on the board's grid, in cells (half a tile): x 0 to 39, y 0 to 19
/// for a tile's origin, z the layer 0 to 6. For a tile on the side board, the
/// slot's column and row, and 0.
struct TilePos {
    int x = 0;
    int y = 0;
    int z = 0;
    friend bool operator==(const TilePos&, const TilePos&) = default;
};

/// One mahjong tile: its place, its face (suit and value), how it matches,
/// and the flags the rules and the screen keep on it.
///
/// A tile is a `Sprite` (factory name "Tile") so that the screen can animate
/// it, but it is never drawn through its own sprite: the board renderer and
/// the side board draw it. Its grid place (`getPos`) is not the sprite's
/// pixel position (`getX`, `getY`).
///
///     RefPtr<Tile> tile(new Tile(nullptr));   // suit 7: no face yet
///     tile->setFace(2, 5, MatchType::Exact);
///     layout->setTileAt(tile.get(), {4, 2, 0});
class Tile : public Sprite {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// A tile at (0, 0, 0) without a suit; with a definition, its keys "x",
    /// "y", "z" (missing reads 0) and, only when the node has "suit", "suit",
    /// "idx" and "sideboard", the match type then taken from the tile
    /// manager's suit of that number (`Exact` when there is none). Whether
    /// the face exists is for the reader to check (`hasValidFace`).
    explicit Tile(PropertyNode* definition);
    /// A copy of `other`: its sprite state and every field; the free mark
    /// starts true as on a new tile.
    Tile(const Tile& other);
    Tile& operator=(const Tile&) = delete;
    /// The object factory's create function for "Tile".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// On a tile this only sets the present flag: a tile that is not present
    /// stays on the grid but blocks nothing (the node's own visibility is not
    /// changed).
    void setVisible(bool visible) override;

    /// Adds "x", "y", "z", "idx", "suit" and "sideboard" to `node` as untyped
    /// values (attributes). Nothing on the dummy node.
    virtual void save(PropertyNode* node) const;

    /// suit x 256 + idx, or suit x 256 alone for a suit that matches by suit.
    /// Tiles with equal keys match in the pair games.
    [[nodiscard]] int matchKey() const {
        return matchType_ == MatchType::Exact ? (suit_ << 8) + idx_ : suit_ << 8;
    }
    /// True when the face is "no suit" or names an existing value of an
    /// existing suit of the tile manager.
    [[nodiscard]] bool hasValidFace() const;

    [[nodiscard]] const TilePos& getPos() const { return pos_; }
    void setPos(const TilePos& pos) { pos_ = pos; }
    [[nodiscard]] int getSuit() const { return suit_; }
    [[nodiscard]] int getIdx() const { return idx_; }
    [[nodiscard]] MatchType getMatchType() const { return matchType_; }
    /// Sets suit, value and match type together.
    void setFace(int suit, int idx, MatchType matchType) {
        suit_ = suit;
        idx_ = idx;
        matchType_ = matchType;
    }
    /// Sets suit and value and takes the match type from the tile manager.
    void setFace(int suit, int idx);
    [[nodiscard]] bool isSideboard() const { return sideboard_; }
    void setSideboard(bool sideboard) { sideboard_ = sideboard; }
    [[nodiscard]] bool isPresent() const { return present_; }
    /// Scratch value of the deals: the distance they sort tiles by.
    [[nodiscard]] int getDealKey() const { return dealKey_; }
    void setDealKey(int key) { dealKey_ = key; }
    /// The free state the screen's free-tile marks last showed.
    [[nodiscard]] bool getFreeMark() const { return freeMark_; }
    void setFreeMark(bool free) { freeMark_ = free; }

    /// True when `a` and `b` are different tiles on one layer whose origins
    /// differ by at most 2 in x and in y.
    [[nodiscard]] static bool isNear(const Tile& a, const Tile& b);

private:
    MatchType matchType_ = MatchType::Exact;
    int suit_ = 7;
    int idx_ = 0;
    bool sideboard_ = false;
    bool present_ = true;
    int dealKey_ = 0;
    bool freeMark_ = true;
    TilePos pos_;
};

/// An ordered list of tiles, each entry holding a reference. Operations that
/// fill a list append to it and never empty it first.
using TileList = std::vector<RefPtr<Tile>>;

/// Appends to `out`, in order, the tiles of `tiles` whose suit is `suit`.
void filterTilesBySuit(const TileList& tiles, int suit, TileList& out);

/// The vertical offset, in pixels, of suit `suit`'s row in the tile-face
/// sheet: (TILE_FACE_HEIGHT + 1) times the row (0, 1, 2 for suits 0 to 2, 4
/// for suits 3 and 4, 3 for suits 5 and 6); 0 for any other number.
[[nodiscard]] int tileStepOffset(int suit);
/// The horizontal offset, in pixels, of a face in its row: idx, plus 4 for
/// suits 4 and 6 (which follow suits 3 and 5 in the same row), times
/// TILE_FACE_WIDTH.
[[nodiscard]] int tileFaceOffsetX(int suit, int idx);

/// Whether `list` holds `tile`.
[[nodiscard]] bool listContains(const TileList& list, const Tile* tile);
/// Removes the first entry of `list` that is `tile`, keeping the order of the
/// rest; false when there is none.
bool removeFirst(TileList& list, const Tile* tile);

} // namespace orv

namespace orv {

/// Makes a tile from an element of saved or loaded data (a node whose type
/// name is a registered tile class) and checks its face. Anything else is
/// logged with `source` and gives null.
[[nodiscard]] RefPtr<Tile> createTile(AbstractProperty* element, std::string_view source);

} // namespace orv
