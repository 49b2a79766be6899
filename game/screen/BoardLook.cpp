#include "game/screen/BoardLook.h"

#include "engine/core/Log.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/ResourceManager.h"
#include "engine/system/Platform.h"

#include <string>

namespace orv {

constinit const ClassRecord BoardLook::classRecord{"BoardLook",
                                                   parentRecords<BaseObject::classRecord>};

namespace {

std::uint32_t colour(int value) {
    return static_cast<std::uint32_t>(value) & 0xFFFFFFU;
}

// The picture `name` of `section`, looked up under the manager's lock.
RefPtr<Image> loadPicture(ResourceManager& resources, std::string_view name,
                          std::string_view section) {
    const platform::NamedMutexGuard guard(resources.getDataLock());
    RefPtr<Image> image(kindCast<Image>(resources.getLoadedObject(name, section)));
    if (!image) {
        logError("board: the picture " + std::string(name) + " of section " + std::string(section) +
                 " is missing");
    }
    return image;
}

} // namespace

BoardMetrics BoardMetrics::fromConstants() {
    BoardMetrics m;
    m.faceWidth = RENDERER_TILE_FACE_WIDTH;
    m.faceHeight = RENDERER_TILE_FACE_HEIGHT;
    m.sideWidth = RENDERER_TILE_SIDE_WIDTH;
    m.sideHeight = RENDERER_TILE_SIDE_HEIGHT;
    m.layerOffsetX = RENDERER_TILE_LAYER_OFFSETX;
    m.layerOffsetY = RENDERER_TILE_LAYER_OFFSETY;
    m.shadowOffsetX = RENDERER_SHADOW_OFFSETX;
    m.shadowOffsetY = RENDERER_SHADOW_OFFSETY;
    m.symbolWidth = TILE_FACE_WIDTH;
    m.symbolHeight = TILE_FACE_HEIGHT;
    return m;
}

std::string BoardMetrics::checkConsistency() const {
    if (faceWidth <= 0 || faceHeight <= 0 || faceWidth % 2 != 0 || faceHeight % 2 != 0) {
        return "the tile face " + std::to_string(faceWidth) + " x " + std::to_string(faceHeight) +
               " is not a positive even size";
    }
    if (sideWidth < 0 || sideHeight < 0 || layerOffsetX < 0 || layerOffsetY < 0 ||
        shadowOffsetX < 0 || shadowOffsetY < 0) {
        return "a tile edge, layer step or shadow is negative";
    }
    if (sideWidth > layerOffsetX || sideHeight > layerOffsetY) {
        return "the tile edges (" + std::to_string(sideWidth) + ", " + std::to_string(sideHeight) +
               ") are wider than the layer step (" + std::to_string(layerOffsetX) + ", " +
               std::to_string(layerOffsetY) + "): changed tiles would leave stale pixels";
    }
    // The engine blends pixels in pairs counted from the left end of what it
    // draws; a repaired area then blends exactly as a whole drawing only when
    // every piece and every dirty rectangle starts at an even column.
    if ((faceWidth / 2) % 2 != 0 || shadowOffsetX % 2 != 0 || layerOffsetX % 2 != 0 ||
        sideWidth % 2 != 0) {
        return "half the face width, the shadow strip, the layer step and the edge must be even "
               "across, or repaired tiles would blend differently from fresh ones";
    }
    return {};
}

TileTints TileTints::fromConstants() {
    TileTints t;
    t.fadeTime = TILE_FADEOUT_TIME;
    t.superHintColor = colour(TILE_SUPER_HINT_COLOR);
    t.superHintAlpha = TILE_SUPER_HINT_ALPHA;
    t.selectColor = colour(TILE_SELECT_COLOR);
    t.selectAlpha = TILE_SELECT_ALPHA;
    t.hoverColor = colour(TILE_HOVER_COLOR);
    t.hoverAlpha = TILE_HOVER_ALPHA;
    t.blockedColor = colour(TILE_BLOCKED_COLOR);
    t.blockedMinAlpha = TILE_BLOCKED_MIN_ALPHA;
    t.blockedMaxAlpha = TILE_BLOCKED_MAX_ALPHA;
    t.hintColor = colour(TILE_HINT_COLOR);
    t.hintMinAlpha = TILE_HINT_MIN_ALPHA;
    t.hintMaxAlpha = TILE_HINT_MAX_ALPHA;
    t.flashColor = colour(TILE_FLASH_COLOR);
    t.flashMaxAlpha = TILE_FLASH_MAX_ALPHA;
    t.darkenColor = colour(TILE_DARKEN_COLOR);
    t.darkenAlpha = TILE_DARKEN_ALPHA;
    return t;
}

BoardLook::BoardLook(const BoardMetrics& metrics, const TileTints& tints, Image* tile,
                     Image* shadow, Image* symbols)
    : metrics_(metrics), tints_(tints), tile_(tile), shadow_(shadow), symbols_(symbols) {
    if (const std::string why = metrics_.checkConsistency(); !why.empty()) {
        logError("board: the renderer's metrics do not fit together: " + why);
    }
}

RefPtr<BoardLook> BoardLook::fromResources(int tileSet) {
    ResourceManager* resources = ResourceManager::getInstance();
    RefPtr<Image> tile;
    RefPtr<Image> shadow;
    RefPtr<Image> symbols;
    if (resources != nullptr) {
        tile = loadPicture(*resources, "TILE", "default");
        shadow = loadPicture(*resources, "SHADOW", "manual");
        symbols = loadPicture(*resources, "SYMBOLS" + std::to_string(tileSet + 1), "manual");
    } else {
        logError("board: no resource manager for the board's pictures");
    }
    return RefPtr<BoardLook>(new BoardLook(BoardMetrics::fromConstants(),
                                           TileTints::fromConstants(), tile.get(), shadow.get(),
                                           symbols.get()));
}

} // namespace orv
