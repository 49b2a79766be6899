#include "game/dialogs/LayoutPreview.h"

#include "engine/graphics/Graphics.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/system/Platform.h"
#include "game/board/Layout.h"
#include "game/board/Tile.h"

#include <string>

namespace orv {

namespace {

constexpr int kPreviewAlphaChannel = 0;
constexpr std::uint32_t kPreviewWhite = 0xFFFFFFFFU;

RefPtr<Image> manualImage(ResourceManager& resources, const std::string& name) {
    return RefPtr<Image>(kindCast<Image>(resources.getLoadedObject(name, "manual")));
}

} // namespace

LayoutPreview::LayoutPreview() {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return;
    }
    {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        tilePreview_ = manualImage(*resources, "TILE_PREVIEW");
        for (int i = 0; i < kBackgrounds; ++i) {
            backgrounds_.at(static_cast<std::size_t>(i)) =
                manualImage(*resources, "PREVIEWBACKGROUND" + std::to_string(i + 1));
        }
    }
    resources->unloadSection("manual");
}

LayoutPreview::LayoutPreview(Image* tile, const std::array<Image*, kBackgrounds>& backgrounds)
    : tilePreview_(tile) {
    for (std::size_t i = 0; i < backgrounds.size(); ++i) {
        backgrounds_.at(i) = backgrounds.at(i);
    }
}

LayoutPreview::~LayoutPreview() = default;

Image* LayoutPreview::draw(const Layout& layout, int background) {
    layout_ = &layout;
    image_ = nullptr;
    RefPtr<Image> picture = createDisplayImage(PREVIEW_WIDTH, PREVIEW_HEIGHT);
    if (!picture) {
        return nullptr;
    }
    const RefPtr<Graphics> g = createGraphics(*picture);
    if (!g) {
        return nullptr;
    }
    // Transparent white: the ground and the tiles raise the alpha where they
    // lie, so that the picture's edges blend into whatever shows it.
    g->setColor(kPreviewWhite);
    g->fillRect(0, 0, picture->getWidth(), picture->getHeight());
    g->setChannelRect(kPreviewAlphaChannel, 0, 0, 0, picture->getWidth(), picture->getHeight());
    if (background >= 0 && background < kBackgrounds) {
        if (Image* ground = backgrounds_.at(static_cast<std::size_t>(background)).get()) {
            g->drawImage(*ground, 0, 0);
            g->maxChannel(*ground, kPreviewAlphaChannel, 0, 0);
        }
    }
    Image* tile = tilePreview_.get();
    const int hw = PREVIEW_TILE_FACE_WIDTH / 2;
    const int hh = PREVIEW_TILE_FACE_HEIGHT / 2;
    if (tile != nullptr && hw > 0 && hh > 0) {
        const int offX = (picture->getWidth() - layout.getWidth() * hw) / 2;
        const int offY = (picture->getHeight() - layout.getHeight() * hh) / 2;
        // Cell by cell, lower layers first: each cell shows the quarter of
        // the tile body that lies over it, so a tile reads as one block.
        for (int z = 0; z < Layout::kLayers; ++z) {
            for (int y = 0; y < Layout::kRows; ++y) {
                for (int x = 0; x < Layout::kColumns; ++x) {
                    const Tile* cell = layout.getGridCell(x, y, z);
                    if (cell == nullptr) {
                        continue;
                    }
                    const Rect source{(x - cell->getPos().x) * hw, (y - cell->getPos().y) * hh, hw,
                                      hh};
                    const int px =
                        x * PREVIEW_TILE_FACE_WIDTH / 2 + offX + z * PREVIEW_LAYER_OFFSETX;
                    const int py =
                        y * PREVIEW_TILE_FACE_HEIGHT / 2 + offY + z * PREVIEW_LAYER_OFFSETY;
                    g->drawImage(*tile, px, py, source);
                    g->maxChannel(*tile, kPreviewAlphaChannel, px, py, source);
                }
            }
        }
    }
    image_ = picture;
    return image_.get();
}

void LayoutPreview::release() {
    image_ = nullptr;
    tilePreview_ = nullptr;
    for (RefPtr<Image>& ground : backgrounds_) {
        ground = nullptr;
    }
    layout_ = nullptr;
}

} // namespace orv
