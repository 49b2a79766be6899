// The layout's file form: reading a layout node of a layout file or a saved
// game, and writing the saved form.

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/properties/PropertyVector.h"
#include "game/board/BoardFactory.h"
#include "game/board/Layout.h"
#include "game/board/SideBoard.h"

#include <string>

namespace orv {

namespace {

std::string place(const TilePos& pos) {
    // Appended in turn: a literal put in front of a new string makes GCC's
    // optimiser warn (-Wrestrict) about a copy that cannot overlap.
    std::string text("(");
    text += std::to_string(pos.x);
    text += ", ";
    text += std::to_string(pos.y);
    text += ", ";
    text += std::to_string(pos.z);
    text += ")";
    return text;
}

// The side board a layout node offers for `sideBoardIndex`, or null.
RefPtr<SideBoard> readSideBoard(const PropertyNode& node, int sideBoardIndex,
                                const std::string& source, bool& intact) {
    AbstractProperty* definition = nullptr;
    if (node.getChild("sideboard") != nullptr) {
        definition = node.getNode("sideboard");
    } else if (node.getChild("sideboards") != nullptr && sideBoardIndex >= 0) {
        PropertyVector* list = node.getVector("sideboards");
        definition = list->at(sideBoardIndex);
        if (definition == nullptr) {
            logWarning(source + ": side board " + std::to_string(sideBoardIndex) +
                       " is asked for, but the layout offers " + std::to_string(list->size()) +
                       "; the layout has no side board");
            intact = false;
            return nullptr;
        }
    } else {
        return nullptr;
    }
    RefPtr<SideBoard> sideBoard = createFromNode<SideBoard>(definition);
    if (!sideBoard) {
        logWarning(source + ": the side board is of type \"" + definition->getTypeName() +
                   "\", not a side board; the layout has none");
        intact = false;
        return nullptr;
    }
    if (!sideBoard->isIntact()) {
        logWarning(source + ": the side board had to be mended");
        intact = false;
    }
    return sideBoard;
}

} // namespace

RefPtr<Layout> Layout::load(PropertyNode* node, GameType gameType, int sideBoardIndex,
                            std::string_view source, bool* intact) {
    const PropertyNode& definition = *(node != nullptr ? node : DUMMY_NODE);
    const std::string where(source);
    bool whole = true;
    RefPtr<Layout> layout(new Layout());

    const PropertyVector* tiles = definition.getVector("tiles");
    for (std::size_t i = 0; i < tiles->size(); ++i) {
        const std::string what = where + ": tile " + std::to_string(i);
        RefPtr<Tile> tile = createTile(tiles->at(static_cast<std::ptrdiff_t>(i)), what);
        if (!tile) {
            whole = false;
            continue;
        }
        if (tile->isSideboard() || !isValidOrigin(tile->getPos())) {
            logWarning(
                what + " at " + place(tile->getPos()) +
                (tile->isSideboard() ? " is marked as a side-board tile" : " lies off the grid") +
                "; left out");
            whole = false;
            continue;
        }
        layout->setTileAt(tile.get(), tile->getPos());
    }

    if (definition.getChild("displayname") != nullptr) {
        layout->setDisplayName(definition.getValue("displayname")->getString());
    }
    if (usesSideBoard(gameType)) {
        RefPtr<SideBoard> sideBoard = readSideBoard(definition, sideBoardIndex, where, whole);
        if (sideBoard) {
            sideBoard->applyStandardGeometry(gameType);
            sideBoard->setPosition(sideBoard->getX(), sideBoard->getY());
            layout->setSideBoard(sideBoard.get());
        }
    }
    int originalCount = layout->getTileCount();
    if (definition.getChild("originalTileCount") != nullptr) {
        const int given = definition.getValue("originalTileCount")->getInt();
        // The level's progress and time are measured against this count: one
        // below the tiles still on the board would make them run backwards
        // (or divide by zero), so such a count gives way to the board's.
        if (given < originalCount) {
            logWarning(where + ": an original count of " + std::to_string(given) +
                       " tiles is below the " + std::to_string(originalCount) +
                       " on the board; the board's count is taken");
        } else {
            originalCount = given;
        }
    }
    layout->setOriginalTileCount(originalCount);
    if (intact != nullptr) {
        *intact = whole;
    }
    return layout;
}

RefPtr<Layout> Layout::loadFile(std::string_view path, GameType gameType, int sideBoardIndex) {
    RefPtr<PropertyStore> store(new PropertyStore());
    if (!store->load(path)) {
        logWarning(std::string(path) + ": the layout file cannot be read; the board is empty");
        return RefPtr<Layout>(new Layout());
    }
    AbstractProperty* node = store->getChild("layout");
    if (node == nullptr || !node->isNode()) {
        logWarning(std::string(path) + ": the file holds no node \"layout\"; the board is empty");
        return RefPtr<Layout>(new Layout());
    }
    return load(static_cast<PropertyNode*>(node), gameType, sideBoardIndex, path);
}

void Layout::save(PropertyNode* node) const {
    if (node == nullptr || node == DUMMY_NODE) {
        return;
    }
    node->add(new PropertyValue("tileCount", tileCount_, true));
    node->add(new PropertyValue("displayname", std::string_view(displayName_), true));
    auto* tiles = static_cast<PropertyVector*>(node->add(new PropertyVector("tiles")));
    forEachTile([tiles](const Tile& tile) {
        tile.save(static_cast<PropertyNode*>(tiles->add(new PropertyNode("", "Tile"))));
    });
    if (sideBoard_) {
        sideBoard_->save(
            static_cast<PropertyNode*>(node->add(new PropertyNode("sideboard", "SideBoard"))));
    }
    node->add(new PropertyValue("originalTileCount", originalTileCount_, true));
}

} // namespace orv
