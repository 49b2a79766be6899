#include "game/screen/SideBoardView.h"

#include "engine/core/Log.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/ResourceManager.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/screen/BoardLook.h"
#include "game/screen/RenderTile.h"
#include "game/screen/TileEffect.h"

#include <algorithm>

namespace orv {

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
// How far inside the screen's edges a rack that had to move in stands.
constexpr int kRackEdgeMargin = 10;

GameType currentGameType() {
    const Game* game = Game::getCurrent();
    return game != nullptr ? game->getGameType() : GameType::Classic;
}

} // namespace

SideBoardView::SideBoardView(BoardLook& look) : look_(look) {
    SideBoard::setPainter(this);
}

SideBoardView::~SideBoardView() {
    if (SideBoard::getPainter() == this) {
        SideBoard::setPainter(nullptr);
    }
}

Image* SideBoardView::picture(const std::string& name) {
    if (const auto found = pictures_.find(name); found != pictures_.end()) {
        return found->second.get();
    }
    RefPtr<Image> image;
    if (ResourceManager* resources = ResourceManager::getInstance(); resources != nullptr) {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        image = RefPtr<Image>(kindCast<Image>(resources->getLoadedObject(name, "manual")));
    }
    if (!image) {
        logError("board: the side board's picture " + name + " is missing");
    }
    // A missing picture is remembered too, so it is reported once.
    pictures_.emplace(name, image);
    return image.get();
}

void SideBoardView::prepare(SideBoard& board) {
    const int columns = board.getColumns();
    const int rows = board.getRows();
    if (columns <= 0 || rows <= 0) {
        return;
    }
    const GameType type = currentGameType();
    int width = 0;
    int height = 0;
    if (type == GameType::FreeCell) {
        const Image* slot = picture("SIDEBOARD_FREECELL_SLOT");
        const int slotWidth = slot != nullptr ? slot->getWidth() : SIDEBOARD_WIDTH_PER_TILE;
        const int slotHeight = slot != nullptr ? slot->getHeight() : SIDEBOARD_HEIGHT_PER_TILE;
        board.setSlotGeometry(SIDEBOARD_FREECELL_PADDING_X, SIDEBOARD_FREECELL_PADDING_Y, slotWidth,
                              slotHeight);
        width = 2 * SIDEBOARD_FREECELL_PADDING_X + slotWidth * columns;
        height = 2 * SIDEBOARD_FREECELL_PADDING_Y + slotHeight * rows;
    } else {
        // The rack's slots are one board face apart, in the board's look.
        const BoardMetrics& m = look_.getMetrics();
        const bool speed = type == GameType::Speed;
        board.setSlotGeometry(SIDEBOARD_PADDING_X + (speed ? SIDEBOARD_SPEED_EXTRA_X : 0),
                              SIDEBOARD_PADDING_Y + (speed ? SIDEBOARD_SPEED_EXTRA_Y : 0),
                              m.faceWidth, m.faceHeight);
        const Image* rack =
            picture("SIDEBOARD_" + std::to_string(columns) + "X" + std::to_string(rows));
        width = rack != nullptr ? rack->getWidth()
                                : 2 * board.getMarginX() + board.getSlotWidth() * columns;
        height = rack != nullptr ? rack->getHeight()
                                 : 2 * board.getMarginY() + board.getSlotHeight() * rows;
    }
    board.setWidth(width);
    board.setHeight(height);
    // A rack placed too near the screen's edge for its pictures moves in, so
    // that every slot can be seen and clicked, and stands clear of the edge
    // as the racks placed by the layouts do.
    const int overRight =
        std::max(board.getAbsoluteX() + width - (kScreenWidth - kRackEdgeMargin), 0);
    const int overBottom =
        std::max(board.getAbsoluteY() + height - (kScreenHeight - kRackEdgeMargin), 0);
    if (overRight > 0 || overBottom > 0) {
        board.setPosition(board.getX() - overRight, board.getY() - overBottom);
    }
}

RenderTile* SideBoardView::slotTile(SideBoard& board, int column, int row) {
    Tile* tile = board.getTileAt(column, row);
    if (tile == nullptr) {
        return nullptr;
    }
    if (auto* rt = kindCast<RenderTile>(board.getSlotLook(column, row)); rt != nullptr) {
        return rt;
    }
    // A tile put in before the view was installed gets its look now.
    const RefPtr<RenderTile> made = RenderTile::createFor(look_, *tile);
    board.setSlotLook(column, row, made.get());
    return made.get();
}

void SideBoardView::tilePut(SideBoard& board, int column, int row, bool arrived) {
    Tile* tile = board.getTileAt(column, row);
    if (tile == nullptr) {
        return;
    }
    const RefPtr<RenderTile> made = RenderTile::createFor(look_, *tile);
    const GameType type = currentGameType();
    if (arrived && (type == GameType::Split || type == GameType::Speed)) {
        made->setEffect(new TileFlashEffect(*made));
    }
    board.setSlotLook(column, row, made.get());
    board.invalidateTile(*tile);
}

void SideBoardView::update(SideBoard& board, int elapsedMs) {
    if (current_.get() != &board) {
        current_ = RefPtr<SideBoard>(&board);
    }
    prepare(board);
    for (int row = 0; row < board.getRows(); ++row) {
        for (int column = 0; column < board.getColumns(); ++column) {
            if (RenderTile* rt = slotTile(board, column, row)) {
                rt->stepTopEffect(elapsedMs);
            }
        }
    }
}

void SideBoardView::render(SideBoard& board, Graphics& graphics) {
    board.clearDirtyRect();
    if (!visible_) {
        return;
    }
    prepare(board);
    const int x = board.getX();
    const int y = board.getY();
    const int columns = board.getColumns();
    const int rows = board.getRows();
    const bool freeCell = currentGameType() == GameType::FreeCell;
    if (freeCell) {
        if (Image* slot = picture("SIDEBOARD_FREECELL_SLOT")) {
            for (int row = 0; row < rows; ++row) {
                for (int column = 0; column < columns; ++column) {
                    graphics.drawImage(*slot,
                                       x + board.getMarginX() + column * board.getSlotWidth(),
                                       y + board.getMarginY() + row * board.getSlotHeight());
                }
            }
        }
    } else if (Image* rack =
                   picture("SIDEBOARD_" + std::to_string(columns) + "X" + std::to_string(rows))) {
        graphics.drawImage(*rack, x, y);
    }
    const BoardMetrics& m = look_.getMetrics();
    Image* symbols = look_.getSymbolsImage();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const RenderTile* rt = slotTile(board, column, row);
            const TileEffect* effect = rt != nullptr ? rt->getTopEffect() : nullptr;
            if (effect == nullptr) {
                continue;
            }
            // A free cell's picture frames its tile: the tile sits in its middle.
            Image* body = effect->getImage();
            const int insetX = freeCell && body != nullptr
                                   ? std::max((board.getSlotWidth() - body->getWidth()) / 2, 0)
                                   : 0;
            const int insetY = freeCell && body != nullptr
                                   ? std::max((board.getSlotHeight() - body->getHeight()) / 2, 0)
                                   : 0;
            const int tx = x + board.getMarginX() + column * board.getSlotWidth() + insetX;
            const int ty = y + board.getMarginY() + row * board.getSlotHeight() + insetY;
            const int alpha = graphics.getAlpha();
            if (body != nullptr) {
                graphics.setAlpha(255);
                graphics.drawImage(*body, tx, ty);
            }
            if (symbols != nullptr) {
                graphics.setAlpha(effect->alpha());
                graphics.drawImage(*symbols, tx, ty,
                                   Rect{rt->symbolX, rt->symbolY, m.faceWidth, m.faceHeight});
            }
            graphics.setAlpha(alpha);
        }
    }
}

RenderTile* SideBoardView::renderTileFor(const Tile& tile) const {
    if (!current_ || !tile.isSideboard()) {
        return nullptr;
    }
    const TilePos& pos = tile.getPos();
    if (current_->getTileAt(pos.x, pos.y) != &tile) {
        return nullptr;
    }
    return kindCast<RenderTile>(current_->getSlotLook(pos.x, pos.y));
}

} // namespace orv
