#include "game/screen/LayerSprite.h"

#include "game/screen/BoardLook.h"
#include "game/screen/RectangleUnion.h"
#include "game/screen/RenderGrid.h"
#include "game/screen/RenderTile.h"
#include "game/screen/TileEffect.h"

#include <algorithm>

namespace orv {

namespace {

// Sets every pixel of `area` of the target to colour 0 with alpha 0.
void clearArea(Graphics& g, const Rect& area) {
    g.resetClip();
    g.setColor(0);
    g.setAlpha(255);
    g.fillRect(area);
    g.setChannelRect(0, 0, area);
}

} // namespace

LayerSprite::LayerSprite(const BoardLook& look, const RenderGrid& grid)
    : Sprite(0, 0, 0, 0), look_(look), grid_(grid) {}

void LayerSprite::addTile(RenderTile& tile) {
    tiles_.push_back(&tile);
    minX_ = std::min(minX_, tile.x);
    minY_ = std::min(minY_, tile.y);
    minZ_ = std::min(minZ_, tile.z);
    maxX_ = std::max(maxX_, tile.x);
    maxY_ = std::max(maxY_, tile.y);
}

int LayerSprite::faceX(int x) const {
    const BoardMetrics& m = look_.getMetrics();
    return ((x - minX_) * m.faceWidth) / 2 + m.shadowOffsetX;
}

int LayerSprite::faceY(int y) const {
    const BoardMetrics& m = look_.getMetrics();
    return ((y - minY_) * m.faceHeight) / 2 + m.shadowOffsetY;
}

void LayerSprite::createImage() {
    if (tiles_.empty()) {
        return;
    }
    const BoardMetrics& m = look_.getMetrics();
    const int width = ((maxX_ - minX_ + 2) * m.faceWidth) / 2 + m.shadowOffsetX +
                      minZ_ * m.layerOffsetX + m.sideWidth;
    const int height = ((maxY_ - minY_ + 2) * m.faceHeight) / 2 + m.shadowOffsetY +
                       minZ_ * m.layerOffsetY + m.sideHeight;
    layerImage_ = createDisplayImage(width, height);
    if (!layerImage_) {
        return;
    }
    if (RefPtr<Graphics> g = createGraphics(*layerImage_)) {
        clearArea(*g, Rect{0, 0, width, height});
    }
    setImage(layerImage_.get());
    setPosition((minX_ * m.faceWidth) / 2 - minZ_ * m.layerOffsetX,
                (minY_ * m.faceHeight) / 2 - minZ_ * m.layerOffsetY);
}

Rect LayerSprite::getPlaneRect() const {
    if (!layerImage_) {
        return {};
    }
    const BoardMetrics& m = look_.getMetrics();
    return Rect{(minX_ * m.faceWidth) / 2, (minY_ * m.faceHeight) / 2, layerImage_->getWidth(),
                layerImage_->getHeight()};
}

void LayerSprite::redraw(const std::vector<Rect>& dirtyRects) {
    if (!layerImage_) {
        createImage();
    }
    if (!layerImage_) {
        return;
    }
    const Rect plane = getPlaneRect();
    std::vector<Rect> local;
    for (const Rect& dirty : dirtyRects) {
        const Rect part = intersectRects(dirty, plane);
        if (!isEmptyRect(part)) {
            local.push_back(Rect{part.x - plane.x, part.y - plane.y, part.width, part.height});
        }
    }
    if (local.empty()) {
        return;
    }
    RefPtr<Graphics> g = createGraphics(*layerImage_);
    if (!g) {
        return;
    }
    for (const Rect& r : local) {
        clearArea(*g, r);
    }
    g->setAlpha(255);
    drawShadows(*g, local);
    drawBodies(*g, local);
    g->resetClip();
    setDirty(true);
}

void LayerSprite::drawPiece(Graphics& g, Image& image, int x, int y, const Rect& source) {
    g.drawImage(image, x, y, source);
    g.maxChannel(image, 0, x, y, source);
}

void LayerSprite::drawShadows(Graphics& g, const std::vector<Rect>& local) {
    const BoardMetrics& m = look_.getMetrics();
    for (const RenderTile* tile : tiles_) {
        if (tile->hidden || tile->vanishing) {
            continue;
        }
        const int tx = faceX(tile->x);
        const int ty = faceY(tile->y);
        const Rect area{tx - m.shadowOffsetX, ty - m.shadowOffsetY,
                        m.faceWidth + m.layerOffsetX + m.shadowOffsetX,
                        m.faceHeight + m.layerOffsetY + m.shadowOffsetY};
        for (const Rect& r : local) {
            const Rect clip = intersectRects(area, r);
            if (isEmptyRect(clip)) {
                continue;
            }
            g.setClip(clip);
            drawShadowPieces(g, *tile, tx, ty);
        }
    }
}

void LayerSprite::drawShadowPieces(Graphics& g, const RenderTile& tile, int tx, int ty) {
    Image* shadow = look_.getShadowImage();
    if (shadow == nullptr) {
        return;
    }
    const BoardMetrics& m = look_.getMetrics();
    const int W = m.faceWidth;
    const int H = m.faceHeight;
    const int SX = m.shadowOffsetX;
    const int SY = m.shadowOffsetY;

    // The top strip: which part of it shows depends on the open cells above.
    int sx = -1;
    int w = 0;
    if (tile.openUpperLeft && tile.openUpper) {
        sx = 0;
        w = tile.openUpperRight ? W + 2 * SX : W / 2 + 2 * SX;
    } else if (tile.openUpperLeft) {
        sx = 0;
        w = SX;
    } else if (tile.openUpper) {
        sx = SX;
        w = tile.openUpperRight ? SX + W : W / 2;
    } else if (tile.openUpperRight) {
        sx = W / 2 + SX;
        w = W / 2 + SX;
    }
    if (sx >= 0) {
        w = std::min(w, shadow->getWidth() - sx);
        drawPiece(g, *shadow, tx - SX + sx, ty - SY,
                  Rect{sx, 0, w, std::min(2 * SY, shadow->getHeight())});
    }

    // The left strip, likewise with the open cells to the left.
    int sy = -1;
    int h = 0;
    if (tile.openUpperLeft && tile.openLeft) {
        sy = 0;
        h = tile.openLowerLeft ? H + 2 * SY : H / 2 + SY;
    } else if (tile.openUpperLeft) {
        sy = 0;
        h = SY;
    } else if (tile.openLeft) {
        sy = SY;
        h = tile.openLowerLeft ? SY + H : H / 2;
    } else if (tile.openLowerLeft) {
        sy = H / 2 + SY;
        h = H / 2 + SY;
    }
    if (sy >= 0) {
        h = std::min(h, shadow->getHeight() - sy);
        drawPiece(g, *shadow, tx - SX, ty - SY + sy,
                  Rect{0, sy, std::min(2 * SX, shadow->getWidth()), h});
    }
}

Image* LayerSprite::bodyFor(const RenderTile& tile) {
    const TileEffect* effect = tile.getTopEffect();
    Image* body = effect != nullptr ? effect->getImage() : nullptr;
    if (body == nullptr || tintAlpha <= 0) {
        // Untinted: the effect's own picture, no copy.
        return body;
    }
    if (!tinted_ || tinted_->getWidth() != body->getWidth() ||
        tinted_->getHeight() != body->getHeight() || tinted_->getFormat() != body->getFormat()) {
        tinted_ = cloneImage(*body);
        if (!tinted_) {
            return body;
        }
    }
    RefPtr<Graphics> g = createGraphics(*tinted_);
    if (!g) {
        return body;
    }
    g->copyImage(*body, 0, 0);
    g->setColor(0xFF000000U | tintColor);
    g->setAlpha(std::min(tintAlpha, 255));
    g->fillRect(0, 0, tinted_->getWidth(), tinted_->getHeight());
    return tinted_.get();
}

void LayerSprite::drawBodies(Graphics& g, const std::vector<Rect>& local) {
    const BoardMetrics& m = look_.getMetrics();
    const int W = m.faceWidth;
    const int H = m.faceHeight;
    const int halfW = W / 2;
    const int halfH = H / 2;
    const int z = minZ_;

    // Only the cells whose quarters can meet a local rectangle are visited.
    int left = local.front().x;
    int top = local.front().y;
    int right = left;
    int bottom = top;
    for (const Rect& r : local) {
        left = std::min(left, r.x);
        top = std::min(top, r.y);
        right = std::max(right, r.x + r.width);
        bottom = std::max(bottom, r.y + r.height);
    }
    const auto firstCell = [](int from, int min, int half) {
        return from <= 0 ? min : min + from / half - 1;
    };
    const int x0 =
        std::max(0, firstCell(left - m.shadowOffsetX - halfW - m.sideWidth, minX_, halfW));
    const int y0 =
        std::max(0, firstCell(top - m.shadowOffsetY - halfH - m.sideHeight, minY_, halfH));
    const int x1 =
        std::min(RenderGrid::kColumns - 1, minX_ + (right - m.shadowOffsetX) / halfW + 1);
    const int y1 = std::min(RenderGrid::kRows - 1, minY_ + (bottom - m.shadowOffsetY) / halfH + 1);

    Image* symbols = symbolsShown ? look_.getSymbolsImage() : nullptr;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            RenderTile* tile = grid_.at(x, y, z);
            if (tile != nullptr && !tile->hidden) {
                const bool isRight = grid_.at(x + 1, y, z) != tile;
                const bool isBottom = grid_.at(x, y + 1, z) != tile;
                const bool shown =
                    isRight ? (isBottom ? tile->quarterBottomRight : tile->quarterTopRight)
                            : (isBottom ? tile->quarterBottomLeft : tile->quarterTopLeft);
                if (!shown) {
                    continue;
                }
                const int tx = faceX(tile->x);
                const int ty = faceY(tile->y);
                const int sx = isRight ? halfW : 0;
                const int sy = isBottom ? halfH : 0;
                const Rect quarter{tx + sx, ty + sy, halfW + (isRight ? m.sideWidth : 0),
                                   halfH + (isBottom ? m.sideHeight : 0)};
                Image* body = nullptr;
                bool fetched = false;
                for (const Rect& r : local) {
                    const Rect clip = intersectRects(quarter, r);
                    if (isEmptyRect(clip)) {
                        continue;
                    }
                    if (!fetched) {
                        body = bodyFor(*tile);
                        fetched = true;
                    }
                    if (body == nullptr) {
                        break;
                    }
                    g.setClip(clip);
                    drawPiece(g, *body, quarter.x, quarter.y,
                              Rect{sx, sy, quarter.width, quarter.height});
                    if (symbols != nullptr) {
                        const TileEffect* effect = tile->getTopEffect();
                        g.setAlpha(effect != nullptr ? effect->alpha() : 255);
                        g.drawImage(*symbols, quarter.x, quarter.y,
                                    Rect{tile->symbolX + sx, tile->symbolY + sy, halfW, halfH});
                        g.setAlpha(255);
                    }
                }
                continue;
            }
            // The inner corner where the bottom edge of the tile above meets
            // the right edge of the tile on the left.
            if (x < 2 || y < 2) {
                continue;
            }
            RenderTile* upper = grid_.at(x, y - 1, z);
            if (upper == nullptr || grid_.at(x - 1, y, z) == nullptr) {
                continue;
            }
            const Rect corner{((x - minX_) * W) / 2 + m.shadowOffsetX,
                              ((y - minY_) * H) / 2 + m.shadowOffsetY, m.sideWidth, m.sideHeight};
            Image* body = nullptr;
            bool fetched = false;
            for (const Rect& r : local) {
                const Rect clip = intersectRects(corner, r);
                if (isEmptyRect(clip)) {
                    continue;
                }
                if (!fetched) {
                    body = bodyFor(*upper);
                    fetched = true;
                }
                if (body == nullptr) {
                    break;
                }
                g.setClip(clip);
                drawPiece(g, *body, corner.x, corner.y, Rect{0, H, m.sideWidth, m.sideHeight});
            }
        }
    }
}

} // namespace orv
