#include "game/screen/SceneGameHintHook.h"

#include "engine/properties/GameConstants.h"
#include "engine/scene/Sprite.h"
#include "game/board/Game.h"
#include "game/screen/BonusBar.h"
#include "game/screen/SceneGame.h"
#include "game/screen/TimeBar.h"

#include <algorithm>

namespace orv {

void SceneGameHintHook::noteClick(const Game& game) {
    clickGame_ = &game;
    clickTime_ = game.getCounters().realTime;
}

int SceneGameHintHook::getMsSinceLastClick() {
    const Game* game = Game::getCurrent();
    if (game == nullptr) {
        return 0;
    }
    const int now = game->getCounters().realTime;
    // A restart winds the clock back: the level's start counts as the click.
    const int since = game == clickGame_ && clickTime_ <= now ? clickTime_ : 0;
    return now - since;
}

std::optional<Rect> SceneGameHintHook::componentRect(const char* name) const {
    const auto* sprite = kindCast<Sprite>(scene_.findComponent(name));
    if (sprite == nullptr) {
        return std::nullopt;
    }
    return Rect{sprite->getAbsoluteX() - static_cast<int>(sprite->getAnchorOffsetX()),
                sprite->getAbsoluteY() - static_cast<int>(sprite->getAnchorOffsetY()),
                sprite->getWidth(), sprite->getHeight()};
}

std::optional<HintBonusBarFacts> SceneGameHintHook::getBonusBar() {
    const BonusBar* bar = scene_.getBonusBar();
    if (bar == nullptr || !bar->isVisible()) {
        return std::nullopt;
    }
    const std::optional<Rect> rect = componentRect("BONUSBAR_FILLING");
    if (!rect) {
        return std::nullopt;
    }
    HintBonusBarFacts facts;
    facts.multiplier = bar->getMultiplier();
    facts.fill = bar->getFlyingBonus() != nullptr ? 1.0F
                 : bar->getMaxPoints() > 0
                     ? std::clamp(bar->getCurrentPoints() / static_cast<float>(bar->getMaxPoints()),
                                  0.0F, 1.0F)
                     : 0.0F;
    facts.bar = *rect;
    return facts;
}

std::optional<HintTimeBarFacts> SceneGameHintHook::getTimeBar() {
    TimeBar* bar = scene_.getTimeBar();
    if (bar == nullptr || !bar->isVisible()) {
        return std::nullopt;
    }
    const std::optional<Rect> rect = componentRect("TIMEBAR_BACKGROUND");
    if (!rect) {
        return std::nullopt;
    }
    return HintTimeBarFacts{bar->getTime().getValue(), bar->getTime().getMax(), *rect};
}

bool SceneGameHintHook::isSuperHintRunning() {
    return scene_.getSuperHintTime() > 0;
}

std::optional<Rect> SceneGameHintHook::getTileRect(const Tile& tile) {
    const auto [x, y] = scene_.tileScreenPos(tile);
    return Rect{x, y, TILE_WIDTH, TILE_HEIGHT};
}

void SceneGameHintHook::clearSelection() {
    if (Game* game = Game::getCurrent(); game != nullptr) {
        game->clearSelection();
        game->clearHints();
    }
    scene_.clearConnectionPath();
}

void SceneGameHintHook::markHintTile(Tile* tile) {
    scene_.markHintTile(tile);
}

void SceneGameHintHook::showHintPair(const TileList& tiles) {
    scene_.showHintPair(tiles);
}

} // namespace orv
