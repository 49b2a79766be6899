// The playing screen's short-lived effects: the score and time-penalty
// floaters, the super and mega score show beside the score ticker, the shine
// and stars over removed tiles, the star bursts the bars and dialogs ask
// for, and the trophy box that slides in while the level is played.
//
// Every effect is built from nodes and modifiers in one call, hung in the
// screen's effects layer, and removes itself when it ends; nothing of the
// game state depends on it.

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/Font.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierRotation.h"
#include "engine/scene/ModifierStretch.h"
#include "engine/scene/ModifierVisible.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/board/SideBoard.h"
#include "game/dialogs/DialogTrophyInfo.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/TrophyList.h"
#include "game/screen/EffectBuilders.h"
#include "game/screen/EffectMath.h"
#include "game/screen/LabelTicker.h"
#include "game/screen/ModifierShine.h"
#include "game/screen/ProfileHooks.h"
#include "game/screen/SceneGame.h"
#include "game/screen/TimeBar.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace orv {

namespace {

constexpr int kRecRoom = static_cast<int>(Place::RecRoom);
// A trophy box is not worth the player's attention this close to the end.
constexpr int kTrophyMinTiles = 10;
// The flying tile's face is drawn on the tiles' ivory.
constexpr std::uint32_t kFlightBackground = 0xF4EEDC;
// The super score stars overlap their neighbours by this much.
constexpr float kStarTurn = -0.9F * std::numbers::pi_v<float>;
// The band of light crosses a removed tile's face in this time.
constexpr int kFaceShineMs = 400;

RefPtr<Font> findFont(std::string_view name, std::string_view section) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    // Held while the reference is taken: the loader thread changes the maps.
    const platform::NamedMutexGuard guard(resources->getDataLock());
    return RefPtr<Font>(kindCast<Font>(resources->getObject(name, section)));
}

// A centred label of `text` in font `fontName` at (x, y), laid out.
// Pixels between a time penalty's words and the bars' panel.
constexpr int kPenaltyMargin = 10;

RefPtr<Label> makeFloaterLabel(const std::string& fontName, const std::wstring& text, int x,
                               int y) {
    RefPtr<Font> font = findFont(fontName, "default");
    RefPtr<Label> label(new Label(font.get(), x, y, 0, 0, Label::kAutoWidth));
    label->setName("FLOATER");
    label->setText(text);
    label->setAnchorPoint(AnchorKind::Center);
    label->relayout();
    return label;
}

// Pops the label in, lets it rise 100 pixels and fades it out over the
// rise's second half; it removes itself 1350 ms after it appeared.
void addFloaterRecipe(Label& label, int x, int y) {
    const int w = label.getWidth();
    const int h = label.getHeight();
    label.addModifier(new ModifierStretch(150, 0, 0, w + 25, h - 15))
        ->setFinishFlags(Modifier::FinishHoldBack);
    label.addModifier(new ModifierStretch(100, w + 25, h - 15, w - 20, h + 15))
        ->setFinishFlags(Modifier::FinishHoldBack);
    label.addModifier(new ModifierStretch(100, w - 20, h + 15, w, h))
        ->setFinishFlags(Modifier::FinishHoldBack);
    label.addModifier(new ModifierLocationLine(x, y, x, y - 100, 1000, false));
    label.addModifier(new ModifierDelay(500))->setFinishFlags(Modifier::FinishHoldBack);
    label.addModifier(new ModifierAlpha(500, 255, 0))->setFinishFlags(Modifier::FinishRemoveTarget);
}

Modifier* attachTo(Modifier* parent, Modifier* modifier, GameNode* target) {
    Modifier* attached = Modifier::attachTo(parent, modifier);
    attached->setTarget(target);
    return attached;
}

// Lifts the header of the super score show above its stars: no more clip,
// last child of its group, the same place on screen.
int liftHeader(void* group, void* modifier) {
    auto* header = kindCast<Sprite>(static_cast<Modifier*>(modifier)->getTarget());
    if (header != nullptr && group != nullptr) {
        header->setClipRect(-10000, -10000, 20000, 20000);
        GameTree::appendChild(header, static_cast<GameNode*>(group));
    }
    return 0;
}

} // namespace

// ---- positions ---------------------------------------------------------------------------------

std::pair<int, int> SceneGame::boardScreenPos(const TilePos& pos) const {
    if (display_ == nullptr) {
        return {0, 0};
    }
    return {display_->tileScreenX(pos.x, pos.z), display_->tileScreenY(pos.y, pos.z)};
}

std::pair<int, int> SceneGame::tileScreenPos(const Tile& tile) const {
    if (tile.isSideboard()) {
        const Game* current = Game::getCurrent();
        const Layout* layout = current != nullptr ? current->getLayout() : nullptr;
        if (const SideBoard* side = layout != nullptr ? layout->getSideBoard() : nullptr) {
            int column = tile.getPos().x;
            int row = tile.getPos().y;
            side->slotScreenPos(column, row);
            return {column, row};
        }
        return {0, 0};
    }
    return boardScreenPos(tile.getPos());
}

// ---- the free-cell flight ------------------------------------------------------------------

void SceneGame::startTileFlight(Tile& tile, const TilePos& from, bool fromSlot) {
    // The board no longer draws the tile at the place it left.
    if (!fromSlot && display_ != nullptr) {
        display_->removeTileAt(from);
    }
    playSound("SOUND_TILE_MOVES");
    RefPtr<Image> face =
        display_ != nullptr ? display_->makeFaceImage(tile, kFlightBackground) : nullptr;
    if (effectsLayer_ == nullptr || face == nullptr) {
        playSound("SOUND_TILE_ARRIVES");
        return;
    }
    std::pair<int, int> start{0, 0};
    if (fromSlot) {
        const Game* current = game();
        const Layout* layout = current != nullptr ? current->getLayout() : nullptr;
        if (const SideBoard* side = layout != nullptr ? layout->getSideBoard() : nullptr) {
            start = {from.x, from.y};
            side->slotScreenPos(start.first, start.second);
        }
    } else if (display_ != nullptr) {
        start = boardScreenPos(from);
    }
    const auto [endX, endY] = tileScreenPos(tile);
    auto* flight = new Sprite(start.first, start.second, face.get());
    flight->setName("FLIGHT");
    // First among the effects: floaters and shows stay above it.
    if (GameNode* first = effectsLayer_->getFirstChild(); first != nullptr) {
        GameTree::insertBefore(flight, first);
    } else {
        GameTree::appendChild(flight, effectsLayer_.get());
    }
    flight
        ->addModifier(
            new ModifierLocationLine(start.first, start.second, endX, endY, TILE_FLIGHT_TIME, true))
        ->setFinishFlags(Modifier::FinishHoldBack);
    flight->addModifier(new ModifierFunction(&SceneGame::onTileLanded, this))
        ->setFinishFlags(Modifier::FinishRemoveTarget);
}

int SceneGame::onTileLanded(void* scene, void* /*modifier*/) {
    static_cast<SceneGame*>(scene)->playSound("SOUND_TILE_ARRIVES");
    return 0;
}

// ---- floaters
// ------------------------------------------------------------------------------------

void SceneGame::showScoreFloater(int points, int factor, Tile& lastTile) {
    if (effectsLayer_ == nullptr || placeOf(game()) == kRecRoom) {
        return;
    }
    auto [x, y] = tileScreenPos(lastTile);
    x += TILE_FACE_WIDTH / 2;
    y -= 30;
    RefPtr<Label> label =
        makeFloaterLabel(floaterFontName(factor), stringToWide(floaterText(points, factor)), x, y);
    addFloaterRecipe(*label, x, y);
    GameTree::appendChild(label.get(), effectsLayer_.get());
}

void SceneGame::showTimePenalty(int seconds) {
    if (effectsLayer_ == nullptr || timeBar_ == nullptr) {
        return;
    }
    // At the height of the fill's top, on the cloth just left of the bars'
    // panel: over the panel the words would cross the bars' frames.
    int x = timeBar_->getX() + timeBar_->getWidth() / 2;
    const int y = static_cast<int>(timeBar_->fillTopY());
    const std::wstring pattern = getText("TEXT_TIME_PENALTY");
    RefPtr<Label> label = makeFloaterLabel(
        floaterFontName(1), stringToWide(penaltyText(wideToString(pattern), seconds)), x, y);
    if (const auto* panel = kindCast<Sprite>(findComponent("BONUSBAR_BOX")); panel != nullptr) {
        x = std::min(x, panel->getX() - kPenaltyMargin - label->getWidth() / 2);
        label->setX(x);
    }
    addFloaterRecipe(*label, x, y);
    GameTree::appendChild(label.get(), effectsLayer_.get());
}

// ---- the super and mega score show ---------------------------------------------------------

void SceneGame::showSuperScore(int points, int score) {
    Game* current = game();
    if (current == nullptr || effectsLayer_ == nullptr || placeOf(current) == kRecRoom) {
        return;
    }
    const int kind = current->scoreThresholdCrossed(score, points);
    if (kind != 1 && kind != 2) {
        return;
    }
    AnimTree* tree = getAnimTree();
    if (tree == nullptr) {
        return;
    }
    int tickerX = 0;
    int tickerY = 0;
    int tickerHeight = 0;
    if (scoreTicker_ != nullptr) {
        tickerX = scoreTicker_->getAbsoluteX();
        tickerY = scoreTicker_->getAbsoluteY();
        tickerHeight =
            scoreTicker_->getLabel() != nullptr ? scoreTicker_->getLabel()->getHeight() : 0;
    }
    RefPtr<GameNode> group(new GameNode());
    group->setName("SUPER_SCORE");
    group->setPosition(tickerX, tickerY - 30);
    GameTree::appendChild(group.get(), effectsLayer_.get());

    RefPtr<Font> font = findFont("FONT_GAMESCENE_BIG", "default");
    auto* header = new Label(font.get(), 0, 0, 0, 0, Label::kAutoWidth);
    header->setName("HEADER");
    header->setText(getText(kind == 1 ? "TEXT_SUPER_SCORE_HEADER" : "TEXT_MEGA_SCORE_HEADER"));
    header->setAnchorPoint(AnchorKind::Left);
    header->relayout();
    GameTree::appendChild(header, group.get());
    const int hw = header->getWidth();

    RefPtr<Image> starImage = widget::findImage("SUPERSCORE_STAR", "game");
    const StarRow row = superScoreStars(kind, starImage != nullptr ? starImage->getWidth() : 0);
    std::vector<Sprite*> stars;
    for (int i = 0; i < row.count; ++i) {
        auto* star = new Sprite(i == 0 ? row.x0 : row.xOf(i - 1), 0, starImage.get());
        star->setName("STAR");
        star->setAnchorPoint(AnchorKind::Center);
        if (i == 0) {
            star->setAlpha(0);
            GameTree::appendChild(star, group.get());
        } else {
            star->setVisible(false);
            GameTree::insertBefore(star, stars.back());
        }
        stars.push_back(star);
    }
    // Above the score, unless that would cut the show off at the top of
    // the screen (a score near the top edge): then just below it.
    const int halfHeight =
        std::max(header->getHeight(), starImage != nullptr ? starImage->getHeight() : 0) / 2;
    if (tickerY - 30 - halfHeight < 0) {
        group->setPosition(tickerX, tickerY + tickerHeight + halfHeight + 10);
    }
    const int lastX = row.lastX();
    header->setPosition(lastX - hw, 0);
    header->setClipRect(lastX, -300, 800, 600);

    playSound(kind == 1 ? "SOUND_SUPERSCORE" : "SOUND_MEGASCORE");
    Modifier* step = nullptr;
    if (!stars.empty()) {
        attachTo(tree, new ModifierFunction(&starBurstSmall, nullptr), stars[0]);
        step = attachTo(tree, new ModifierAlpha(500, 0, 255), stars[0]);
        step = attachTo(step, new ModifierDelay(200), stars[0]);
    } else {
        step = attachTo(tree, new ModifierDelay(700), group.get());
    }
    for (std::size_t i = 1; i < stars.size(); ++i) {
        const int from = row.xOf(static_cast<int>(i) - 1);
        const int to = row.xOf(static_cast<int>(i));
        attachTo(step, new ModifierVisible(ModifierVisible::Show), stars[i]);
        attachTo(step, new ModifierRotation(kStarTurn, 0.0F, 350), stars[i]);
        step = attachTo(step, new ModifierLocationLine(from, 0, to, 0, 350, false), stars[i]);
    }
    const int outX = row.x0 + row.total;
    step = attachTo(step, new ModifierLocationLine(lastX - hw, 0, outX, 0, 300, true), header);
    step = attachTo(step, new ModifierFunction(&liftHeader, group.get()), header);
    step = attachTo(step, new ModifierLocationLine(outX, 0, -(hw / 2), 0, 300, true), header);
    if (scoreTicker_ != nullptr && scoreTicker_->getLabel() != nullptr) {
        attachTo(step, new ModifierBlink(255, 0, 100, 100, 0, 100, 3), scoreTicker_->getLabel());
    }
    step = attachTo(step, new ModifierDelay(1000), group.get());
    for (Sprite* star : stars) {
        attachTo(step, new ModifierAlpha(300, 255, 0), star);
    }
    step = attachTo(step, new ModifierAlpha(300, header->getAlpha(), 0), header);
    attachTo(step, new ModifierDelay(0), group.get())->setFinishFlags(Modifier::FinishRemoveTarget);
}

// ---- tile shine and star bursts ------------------------------------------------------------

Sprite* SceneGame::makeTileFaceSprite(const Tile& tile, bool tinted, std::uint32_t colour,
                                      bool additive) {
    RefPtr<Image> faceImage =
        display_ != nullptr ? display_->makeFaceImage(tile, tinted ? colour : 0xFFFFFFU) : nullptr;
    if (faceImage == nullptr) {
        return nullptr;
    }
    // The face is a whole rectangle: the sheet leaves a few pixels of a
    // face's cell transparent, which a shine cut to the face would skip.
    if (RefPtr<Graphics> g = createGraphics(*faceImage); g != nullptr) {
        g->setChannelRect(0, 255, 0, 0, faceImage->getWidth(), faceImage->getHeight());
    }
    const auto [x, y] = tileScreenPos(tile);
    Sprite* face = additive ? new AdditiveSprite(nullptr) : new Sprite(0, 0, nullptr);
    face->setImage(faceImage.get());
    // Anchored at its middle, drawn where the tile's face is.
    face->setPosition(x + faceImage->getWidth() / 2, y + faceImage->getHeight() / 2);
    face->setAnchorPoint(AnchorKind::Center);
    return face;
}

RefPtr<Sprite> SceneGame::makeTileSprite(int suit, int idx) const {
    RefPtr<Image> image = display_ != nullptr ? display_->makeTileImage(suit, idx) : nullptr;
    if (image == nullptr) {
        return nullptr;
    }
    return RefPtr<Sprite>(new Sprite(0, 0, image.get()));
}

void SceneGame::spawnTileRemovalEffect(Tile& tile, int multiplier) {
    AnimTree* tree = getAnimTree();
    if (!tileRemovalShines(multiplier) || effectsLayer_ == nullptr || tree == nullptr) {
        return;
    }
    Sprite* face = makeTileFaceSprite(tile, true, 0xFFFFFFU, true);
    if (face == nullptr) {
        return;
    }
    face->setName("SHINE");
    GameTree::appendChild(face, effectsLayer_.get());
    // A band of light crosses the face while the tile fades; the face is
    // left without a picture and removed when the band has gone.
    RefPtr<Image> shine = widget::findImage("FACE_SHINE", "game");
    if (shine == nullptr) {
        // No band to show: the face only carries the stars.
        face->setVisible(false);
    }
    Modifier* start = attachTo(tree, new ModifierDelay(0), face);
    auto* sweep = new ModifierShine(kFaceShineMs, shine.get());
    sweep->setRestore(false);
    attachTo(start, sweep, face)
        ->setFinishFlags(Modifier::FinishHoldBack | Modifier::FinishRemoveTarget);
    const TileStars stars = tileRemovalStars(multiplier);
    if (stars.count > 0) {
        buildStarAnimation(*face, stars.count, "FADING_STAR", stars.distance, 255, 100, false,
                           BONUS_ANIM_EXPLOSION_TIME);
    }
}

void SceneGame::showStarBurst(int x, int y) {
    if (effectsLayer_ == nullptr) {
        return;
    }
    // A still point to throw the stars from; it leaves with the first frame.
    auto* point = new GameNode();
    point->setPosition(x, y);
    GameTree::appendChild(point, effectsLayer_.get());
    starBurstLarge(point, nullptr);
    point->addModifier(new ModifierDelay(0))->setFinishFlags(Modifier::FinishRemoveTarget);
}

// ---- trophies --------------------------------------------------------------------------------

void SceneGame::onTrophyEarned(int number) {
    earnedTrophies_.push_back(number);
    const Game* current = game();
    const Layout* layout = current != nullptr ? current->getLayout() : nullptr;
    // Too close to the end of the level, or after it: the trophy stays
    // earned (and unshown) for the trophy room.
    if (layout == nullptr || layout->getTileCount() < kTrophyMinTiles || isLevelOver() ||
        pauseState_ == 3) {
        return;
    }
    if (const std::optional<int> now = trophyQueue_.earn(number)) {
        presentTrophy(*now);
    }
}

void SceneGame::holdTrophies(bool held) {
    if (const std::optional<int> now = trophyQueue_.setHeld(held)) {
        presentTrophy(*now);
    }
}

void SceneGame::presentTrophy(int number) {
    auto* box = kindCast<DialogTrophyInfo>(getDialog("DIALOG_TROPHY_INFO"));
    if (box == nullptr) {
        // Nothing to show it in: let the next one have its turn.
        if (const std::optional<int> next = trophyQueue_.boxClosed()) {
            presentTrophy(*next);
        }
        return;
    }
    // The player's own record of the trophy; without a player (a level
    // opened by a developer tool) the trophy's definition.
    OrvantaPlayer* player = currentProfile();
    RefPtr<TrophyList> trophies =
        player != nullptr && player->trophies != nullptr ? player->trophies : nullptr;
    if (trophies == nullptr) {
        trophies = new TrophyList();
    }
    if (number >= 0 && static_cast<std::size_t>(number) < trophies->size()) {
        box->setTrophy(trophies->get(static_cast<std::size_t>(number)));
    }
    box->setAfterClose(&SceneGame::onTrophyBoxClosed, this);
    showDialog(box);
}

int SceneGame::onTrophyBoxClosed(void* scene, void* /*dialog*/) {
    static_cast<SceneGame*>(scene)->trophyInfoClosed();
    return 0;
}

void SceneGame::trophyInfoClosed() {
    if (pauseState_ == 3) {
        trophyQueue_.clear();
        return;
    }
    const std::optional<int> next = trophyQueue_.boxClosed();
    const Game* current = game();
    if (next && current != nullptr && current->getLayout() != nullptr &&
        current->getLayout()->getTileCount() > 0) {
        presentTrophy(*next);
    }
}

} // namespace orv
