#include "game/board/Tile.h"

#include "engine/core/Log.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "game/board/BoardFactory.h"
#include "game/board/TileManager.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

namespace orv {

const ClassRecord Tile::classRecord{"Tile", parentRecords<Sprite::classRecord>};

Tile::Tile(PropertyNode* definition) : Sprite(0, 0, 0, 0) {
    if (definition == nullptr) {
        return;
    }
    pos_.x = definition->getValue("x")->getInt();
    pos_.y = definition->getValue("y")->getInt();
    pos_.z = definition->getValue("z")->getInt();
    if (definition->getChild("suit") != nullptr) {
        setFace(definition->getValue("suit")->getInt(), definition->getValue("idx")->getInt());
        sideboard_ = definition->getValue("sideboard")->getBool();
    }
}

Tile::Tile(const Tile& other)
    : Sprite(other), matchType_(other.matchType_), suit_(other.suit_), idx_(other.idx_),
      sideboard_(other.sideboard_), present_(other.present_), dealKey_(other.dealKey_),
      pos_(other.pos_) {}

BaseObject* Tile::createFromDefinition(PropertyNode* definition) {
    return new Tile(definition);
}

void Tile::setVisible(bool visible) {
    present_ = visible;
}

void Tile::setFace(int suit, int idx) {
    const TileManager* manager = TileManager::get();
    setFace(suit, idx, manager != nullptr ? manager->matchTypeOf(suit) : MatchType::Exact);
}

bool Tile::hasValidFace() const {
    if (suit_ == kNoSuit) {
        return true;
    }
    const TileManager* manager = TileManager::get();
    return manager != nullptr && manager->isValidFace(suit_, idx_);
}

void Tile::save(PropertyNode* node) const {
    if (node == nullptr || node == DUMMY_NODE) {
        return;
    }
    node->add(new PropertyValue("x", pos_.x, true));
    node->add(new PropertyValue("y", pos_.y, true));
    node->add(new PropertyValue("z", pos_.z, true));
    node->add(new PropertyValue("idx", idx_, true));
    node->add(new PropertyValue("suit", suit_, true));
    node->addNamedBool("sideboard", sideboard_, true);
}

bool Tile::isNear(const Tile& a, const Tile& b) {
    return &a != &b && a.pos_.z == b.pos_.z && std::abs(a.pos_.x - b.pos_.x) <= 2 &&
           std::abs(a.pos_.y - b.pos_.y) <= 2;
}

int tileStepOffset(int suit) {
    static constexpr std::array<int, 7> kRows{0, 1, 2, 4, 4, 3, 3};
    if (suit < 0 || suit >= static_cast<int>(kRows.size())) {
        return 0;
    }
    return (TILE_FACE_HEIGHT + 1) * kRows.at(static_cast<std::size_t>(suit));
}

int tileFaceOffsetX(int suit, int idx) {
    const int column = idx + (suit == 4 || suit == 6 ? 4 : 0);
    return column * TILE_FACE_WIDTH;
}

void filterTilesBySuit(const TileList& tiles, int suit, TileList& out) {
    for (const RefPtr<Tile>& tile : tiles) {
        if (tile && tile->getSuit() == suit) {
            out.push_back(tile);
        }
    }
}

bool listContains(const TileList& list, const Tile* tile) {
    return std::any_of(list.begin(), list.end(),
                       [tile](const RefPtr<Tile>& entry) { return entry.get() == tile; });
}

bool removeFirst(TileList& list, const Tile* tile) {
    const auto found = std::find_if(list.begin(), list.end(), [tile](const RefPtr<Tile>& entry) {
        return entry.get() == tile;
    });
    if (found == list.end()) {
        return false;
    }
    list.erase(found);
    return true;
}

} // namespace orv

namespace orv {

RefPtr<Tile> createTile(AbstractProperty* element, std::string_view source) {
    RefPtr<Tile> tile = createFromNode<Tile>(element);
    if (!tile) {
        logWarning(std::string(source) + ": an element of type \"" +
                   (element != nullptr ? element->getTypeName() : std::string()) +
                   "\" is not a tile; left out");
        return nullptr;
    }
    if (!tile->hasValidFace()) {
        logWarning(std::string(source) + ": a tile has suit " + std::to_string(tile->getSuit()) +
                   " and value " + std::to_string(tile->getIdx()) +
                   ", which no suit has; left out");
        return nullptr;
    }
    return tile;
}

} // namespace orv
