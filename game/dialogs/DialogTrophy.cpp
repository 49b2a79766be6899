#include "game/dialogs/DialogTrophy.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/core/TextUtil.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/resources/Image.h"
#include "engine/scene/AbstractPainter.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierLocationLine.h"
#include "engine/scene/ModifierLocationWave.h"
#include "engine/scene/ModifierRotationScale.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/ModifierVisible.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "game/board/Level.h"
#include "game/board/LevelSets.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogRoomInfo.h"
#include "game/dialogs/DialogSounds.h"
#include "game/dialogs/DialogTrophyInfo.h"
#include "game/dialogs/DialogTrophyText.h"
#include "game/dialogs/ModifierGravity.h"
#include "game/players/OrvantaPlayer.h"
#include "game/players/PlayerManager.h"
#include "game/players/PlayerStats.h"
#include "game/players/TrophyList.h"

#include <algorithm>
#include <numbers>

namespace orv {

namespace {

constexpr int kRoomCentreX = 400;
constexpr int kPresentY = 200;
constexpr int kTowerFloors = 20;
constexpr int kTowerRooms = 5;
// The building's window grid: the first column and row, the step between
// them, and the wider gaps between the wings.
constexpr int kWindowLeft = 298;
constexpr int kWindowStep = 25;
constexpr int kWingGap = 45;
constexpr int kWindowBottomRow = 490;
constexpr int kFloorStep = 24;
constexpr int kWindowSize = 20;
constexpr int kGridRight = 888;
constexpr int kGridTop = 30;
constexpr int kGridBottom = 510;
constexpr int kOpenFadeMs = 250;
constexpr int kAfterFadeMs = 200;
constexpr int kFirstAwardMs = 800;
constexpr int kSpinMs = 1500;
constexpr float kSixTurns = 37.699112F;
constexpr int kRiseMs = 1000;
constexpr int kPopDelayMs = 500;
constexpr int kPresentMs = 3000;
constexpr int kToShelfMs = 600;
constexpr float kShelfScale = 0.5F;
constexpr int kBounceMs = 100;
constexpr int kSparkStepMs = 7;
constexpr int kSparkFlightMs = 2000;
constexpr int kSparkFadeDelayMs = 1000;
constexpr int kSparkFadeMs = 500;
constexpr int kHoverStars = 10;
constexpr int kOrbitMs = 2000;
constexpr int kPopStepMs = 100;
constexpr int kPopScaleMs = 200;
constexpr int kAwardBoxMs = 150;
constexpr int kAwardLabelDelayMs = 500;
constexpr int kAwardTextWidth = 360;
constexpr int kAwardFrameWidth = 60;
constexpr int kAwardFrameHeight = 40;

OrvantaPlayer* trophyRoomPlayer() {
    const PlayerManager* players = PlayerManager::get();
    return players != nullptr ? players->getCurrentProfile() : nullptr;
}

TrophyList* trophyRoomList() {
    OrvantaPlayer* player = trophyRoomPlayer();
    return player != nullptr ? player->trophies.get() : nullptr;
}

int trophyState(const TrophyList& list, int index) {
    return list.getState(static_cast<std::size_t>(index));
}

bool isUnearned(int state) {
    return state == TrophyState::kNotEarned || state == TrophyState::kHeldBack;
}

// A sprite of the room: the picture, centred on (x, y), tagged.
Sprite* roomSprite(const std::string& image, const std::string& section, int x, int y, int tag,
                   bool additive = false) {
    Sprite* sprite = additive ? new AdditiveSprite(nullptr) : new Sprite(nullptr);
    RefPtr<Image> picture = widget::findImage(image, section);
    if (!picture && !image.empty()) {
        logWarning("trophy room: the picture " + image + " is missing from the section \"" +
                   section + "\"");
    }
    sprite->setImage(picture.get());
    sprite->setAnchorPoint(AnchorKind::Center);
    sprite->setPosition(x, y);
    sprite->setTag(tag);
    return sprite;
}

// The number a trophy's description shows for "%3", if it has one.
std::optional<int> trophyNumber(int index) {
    const OrvantaPlayer* player = trophyRoomPlayer();
    if (player == nullptr) {
        return std::nullopt;
    }
    switch (index) {
    case 4:
        return player->stats.maxBonus;
    case 12:
        return player->stats.maxCombo;
    case 13:
        return player->stats.quenbyRecord;
    case 16:
        return player->stats.numMatches;
    default:
        return std::nullopt;
    }
}

void releaseLayer(const RefPtr<GameNode>& layer) {
    if (layer) {
        GameTree::releaseChildren(layer.get());
    }
}

// Every child of `layer` goes at the next purge: for work done while the
// node tree is being walked, which must not free nodes.
void markLayerForRemoval(GameNode& layer) {
    for (GameNode* child = layer.getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        child->setRemovalMark(true);
    }
}

// `layer` placed directly before the component `name`, else last.
void placeLayer(GameNode* layer, GameNode* root, GameNode* before) {
    if (before != nullptr && before->getParent() != nullptr) {
        GameTree::insertBefore(layer, before);
    } else if (root != nullptr) {
        GameTree::appendChild(layer, root);
    }
}

} // namespace

constinit const ClassRecord DialogTrophy::classRecord{"DialogTrophy",
                                                      parentRecords<DialogOrvanta::classRecord>};

DialogTrophy::DialogTrophy(PropertyNode* definition)
    : DialogOrvanta(definition), trophyLayer_(new GameNode()),
      unclaimedEarnedLayer_(new GameNode()), starLayer_(new GameNode()),
      windowLayer_(new GameNode()), hoverStarLayer_(new GameNode()) {
    awardBox_ = kindCast<Sprite>(findComponent("TTROPHY_SPRITE_DIALOG"));
    emitter_ = kindCast<Sprite>(findComponent("SPRITE_EMITTER"));
    wonHeader_ = kindCast<Sprite>(findComponent("TROPHY_WON_HEADER"));
    awardHeaderLabel_ = kindCast<Label>(findComponent("LABEL_HEADER"));
    awardTextLabel_ = kindCast<Label>(findComponent("LABEL_DESCRIPTION"));
    wonHeaderY_ = wonHeader_ != nullptr ? wonHeader_->getY() : 0;
    GameNode* root = getComponentRoot();
    GameNode* box = awardBox_;
    GameNode* header = wonHeader_;
    placeLayer(windowLayer_.get(), root, box);
    placeLayer(starLayer_.get(), root, box);
    placeLayer(unclaimedEarnedLayer_.get(), root, header);
    placeLayer(hoverStarLayer_.get(), root, header);
    placeLayer(trophyLayer_.get(), root, header);
    static_cast<void>(bindComponent("BUTTON_MENU", &DialogTrophy::onMenuButton, this));
}

DialogTrophy::~DialogTrophy() = default;

BaseObject* DialogTrophy::createFromDefinition(PropertyNode* definition) {
    return new DialogTrophy(definition);
}

bool DialogTrophy::open(void* context, GuiFunction function) {
    const TrophyList* list = trophyRoomList();
    if (list == nullptr || !list->hasNewTrophies()) {
        return false;
    }
    Scene* scene = getShownScene();
    auto* room =
        scene != nullptr ? kindCast<DialogTrophy>(scene->getDialog("DIALOG_TROPHY")) : nullptr;
    if (room == nullptr) {
        return false;
    }
    room->setAfterClose(function, context);
    scene->showDialog(room);
    return true;
}

void DialogTrophy::open() {
    DialogOrvanta::open();
    // The room opens with its own fade and without the dialogs' sound.
    removeAllModifiers();
    setUseBuffer(false);
    setAllInput(false);
    setAlpha(0);
    addModifier(holdingBack(new ModifierAlpha(kOpenFadeMs, 0, 255)));
    addModifier(holdingBack(new ModifierDelay(kAfterFadeMs)));
    addModifier(new ModifierFunction(&DialogTrophy::onAfterOpenFade, this));

    // Every opening builds the room afresh, also when the scene kept it.
    clearLayers();
    busy_ = true;
    hoveredTrophy_ = nullptr;
    hoveredRoom_ = -1;
    hoveredFloor_ = -1;
    infoTimer_ = -1;
    currentTrophy_ = kNoTrophy;
    pendingAwards_.clear();
    awardedOrder_.clear();
    if (wonHeader_ != nullptr) {
        wonHeader_->removeAllModifiers();
        wonHeader_->setVisible(false);
        wonHeader_->setPosition(wonHeader_->getX(), wonHeaderY_);
    }
    if (awardBox_ != nullptr) {
        awardBox_->removeAllModifiers();
        awardBox_->setVisible(false);
    }
    for (Label* label : {awardHeaderLabel_, awardTextLabel_}) {
        if (label != nullptr) {
            label->removeAllModifiers();
            label->setVisible(false);
        }
    }

    TrophyList* list = trophyRoomList();
    if (list != nullptr) {
        const int count = std::min(static_cast<int>(list->size()), kNoTrophy);
        for (int i = 0; i < count; ++i) {
            if (trophyState(*list, i) == TrophyState::kEarned) {
                pendingAwards_.push_back(i);
                list->setState(static_cast<std::size_t>(i), TrophyState::kPresenting);
            }
        }
        for (int i = 0; i < count; ++i) {
            const TrophyInfoEntry& shelf = list->get(static_cast<std::size_t>(i)).entry(0);
            Sprite* placeholder =
                roomSprite(shelf.image + "_UNCLAIMED", shelf.section, shelf.x, shelf.y, i);
            GameTree::appendChild(placeholder, isUnearned(trophyState(*list, i))
                                                   ? trophyLayer_.get()
                                                   : unclaimedEarnedLayer_.get());
        }
    }
    hasNewTrophies_ = !pendingAwards_.empty();

    Scene* scene = getShownScene();
    if (scene != nullptr) {
        textDialog_ = kindCast<DialogTrophyText>(scene->getDialog("DIALOG_TROPHY_TEXT"));
        roomInfoDialog_ = kindCast<DialogRoomInfo>(scene->getDialog("DIALOG_ROOM_INFO"));
        // The boxes only show texts: the room under them keeps the input.
        for (DialogOrvanta* box : {static_cast<DialogOrvanta*>(textDialog_),
                                   static_cast<DialogOrvanta*>(roomInfoDialog_)}) {
            if (box != nullptr) {
                scene->showDialog(box);
                box->setAllInput(false);
                box->getListenerContainer().setSwallow(false);
            }
        }
        if (textDialog_ != nullptr) {
            textDialog_->hideNow();
            textDialog_->setState(DialogTrophyText::Hidden);
        }
        if (roomInfoDialog_ != nullptr) {
            roomInfoDialog_->putAway();
        }
    }
}

int DialogTrophy::onAfterOpenFade(void* dialog, void* /*modifier*/) {
    static_cast<DialogTrophy*>(dialog)->afterOpenFade();
    return 0;
}

void DialogTrophy::afterOpenFade() {
    if (hasNewTrophies_) {
        startAward();
    } else {
        showEarnedTrophies(false);
        buildWindows();
    }
    setUseBuffer(false);
    setAllInput(true);
}

void DialogTrophy::startAward() {
    if (wonHeader_ != nullptr) {
        wonHeader_->setVisible(true);
        wonHeader_->addModifier(
            new ModifierLocationLine(wonHeader_->getX(), -wonHeader_->getHeight(),
                                     wonHeader_->getX(), wonHeaderY_, TROPHY_HEADER_APPEAR, true));
    }
    // The first trophy comes 800 ms after the fireworks start. The steps are
    // the room's own, so a room closed meanwhile takes them with it.
    addModifier(new ModifierSound("trophy", "SOUND_TROPHY_FIREWORKS", true));
    addModifier(holdingBack(new ModifierDelay(kFirstAwardMs)));
    addModifier(new ModifierFunction(&DialogTrophy::onAwardStep, this));
    for (int k = 0; k < TROPHY_STAR_COUNT; ++k) {
        spawnSpark(kSparkStepMs * k);
    }
}

void DialogTrophy::spawnSpark(int delayMs) {
    if (emitter_ == nullptr) {
        return;
    }
    const int x = emitter_->getX() + emitter_->getWidth() / 2;
    const int y = emitter_->getY() + emitter_->getHeight() / 2;
    const float vy = static_cast<float>(Random::nextInt(0, 1000)) * 0.01F - 55.0F;
    const float vx = static_cast<float>(Random::nextInt(0, 2000)) * 0.01F - 10.0F;
    const float ax = vx >= 0.0F ? 0.3F : -0.3F;
    Sprite* spark = roomSprite("TROPHY_STAR", "default", x, y, 0, true);
    spark->setVisible(false);
    GameNode* first = starLayer_->getFirstChild();
    if (first != nullptr) {
        GameTree::insertBefore(spark, first);
    } else {
        GameTree::appendChild(spark, starLayer_.get());
    }
    spark->addModifier(holdingBack(new ModifierDelay(delayMs)));
    spark->addModifier(new ModifierVisible(ModifierVisible::Show));
    auto* flight = new ModifierGravity(kSparkFlightMs, x, y);
    flight->setAcceleration(ax, 3.0F);
    flight->setVelocity(vx, vy);
    spark->addModifier(flight);
    spark->addModifier(holdingBack(new ModifierDelay(kSparkFadeDelayMs)));
    spark->addModifier(holdingBack(new ModifierAlpha(kSparkFadeMs, 255, 0)));
    auto* done = new ModifierFunction(&DialogTrophy::onSparkDone, this);
    done->setFinishFlags(Modifier::FinishRemoveTarget);
    spark->addModifier(done);
}

int DialogTrophy::onSparkDone(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogTrophy*>(dialog);
    if (self->currentTrophy_ != kNoTrophy) {
        self->spawnSpark(Random::nextInt(0, 50));
    }
    return 0;
}

int DialogTrophy::onAwardStep(void* dialog, void* /*modifier*/) {
    static_cast<DialogTrophy*>(dialog)->awardStepDone();
    return 0;
}

void DialogTrophy::awardStepDone() {
    hideAwardBox();
    if (!pendingAwards_.empty()) {
        currentTrophy_ = pendingAwards_.back();
        pendingAwards_.pop_back();
        awardTrophy();
        return;
    }
    if (wonHeader_ != nullptr) {
        wonHeader_->addModifier(holdingBack(
            new ModifierLocationLine(wonHeader_->getX(), wonHeader_->getY(), wonHeader_->getX(),
                                     -wonHeader_->getHeight(), TROPHY_HEADER_DISAPPEAR, false)));
        wonHeader_->addModifier(new ModifierVisible(ModifierVisible::Hide));
    }
    currentTrophy_ = kNoTrophy;
    showEarnedTrophies(true);
}

void DialogTrophy::awardTrophy() {
    TrophyList* list = trophyRoomList();
    if (list == nullptr || currentTrophy_ >= static_cast<int>(list->size())) {
        awardStepDone();
        return;
    }
    const int t = currentTrophy_;
    awardedOrder_.push_back(t);
    const TrophyInfoEntry& award = list->get(static_cast<std::size_t>(t)).entry(1);
    Sprite* trophy = roomSprite(award.image, award.section, kRoomCentreX, kPresentY, t);
    trophy->setVisible(false);
    GameTree::appendChild(trophy, trophyLayer_.get());
    const int riseFrom = emitter_ != nullptr ? emitter_->getY() : kPresentY;
    trophy->addModifier(new ModifierVisible(ModifierVisible::Show));
    trophy->addModifier(new ModifierRotationScale(0.0F, kSixTurns, 0.0F, 1.0F, kSpinMs));
    trophy->addModifier(
        new ModifierLocationLine(kRoomCentreX, riseFrom, kRoomCentreX, kPresentY, kRiseMs, true));
    trophy->addModifier(holdingBack(new ModifierDelay(kPopDelayMs)));
    trophy->addModifier(new ModifierSound("trophy", "SOUND_TROPHY_POPS_UP", true));
    trophy->addModifier(holdingBack(new ModifierDelay(kPopDelayMs)));
    trophy->addModifier(new ModifierFunction(&DialogTrophy::onShowAwardBox, this));
    trophy->addModifier(holdingBack(new ModifierDelay(kPresentMs)));
    trophy->addModifier(new ModifierScale(kToShelfMs, 1.0F, kShelfScale));
    trophy->addModifier(new ModifierSound("trophy", "SOUND_TROPHY_MOVES", true));
    trophy->addModifier(holdingBack(
        new ModifierLocationLine(kRoomCentreX, kPresentY, award.x, award.y, kToShelfMs, true)));
    trophy->addModifier(new ModifierFunction(&DialogTrophy::onTrophyArrived, this));
    trophy->addModifier(new ModifierFunction(&DialogTrophy::onAwardStep, this));
    for (int i = 0; i < 3; ++i) {
        trophy->addModifier(holdingBack(new ModifierScale(kBounceMs, 1.0F, 1.1F)));
        trophy->addModifier(holdingBack(new ModifierScale(kBounceMs, 1.1F, 1.0F)));
    }
    list->setState(static_cast<std::size_t>(t), TrophyState::kPresenting);
}

int DialogTrophy::onShowAwardBox(void* dialog, void* /*modifier*/) {
    static_cast<DialogTrophy*>(dialog)->showAwardBox();
    return 0;
}

void DialogTrophy::showAwardBox() {
    if (awardBox_ == nullptr || awardHeaderLabel_ == nullptr || awardTextLabel_ == nullptr) {
        return;
    }
    std::wstring title;
    std::wstring description;
    trophyTexts(currentTrophy_, false, title, description);
    awardHeaderLabel_->setText(title);
    awardHeaderLabel_->relayout();
    awardTextLabel_->setText(description);
    awardTextLabel_->setWidth(kAwardTextWidth);
    awardTextLabel_->relayout();
    if (awardTextLabel_->getLines().size() > 2) {
        static_cast<void>(fitLabelWidth(*awardTextLabel_));
    }
    const std::size_t lines = awardTextLabel_->getLines().size();
    int width = 0;
    if (lines == 2) {
        width = std::max(awardHeaderLabel_->getTextWidth(), awardTextLabel_->getWidth());
    } else {
        const int first = awardTextLabel_->getLines().empty() ? 0 : awardTextLabel_->getTextWidth();
        width = std::max(awardHeaderLabel_->getTextWidth(), first);
    }
    awardTextLabel_->setWidth(width);
    awardTextLabel_->relayout();
    // The labels are centred on the box.
    awardHeaderLabel_->setWidth(width);
    awardHeaderLabel_->relayout();
    awardHeaderLabel_->setPosition(kRoomCentreX - width / 2, awardHeaderLabel_->getY());
    awardTextLabel_->setPosition(kRoomCentreX - width / 2, awardTextLabel_->getY());

    const int frameWidth = width + kAwardFrameWidth;
    const int frameHeight =
        awardTextLabel_->getHeight() + awardHeaderLabel_->getHeight() + kAwardFrameHeight;
    PropertyNode* definition =
        asNode(getDefinitionStore().getTemplates()->getChild("TROPHY_PAINTER"));
    RefPtr<BaseObject> object(definition != nullptr ? ObjectFactoryContainer::get().createObject(
                                                          definition->getTypeName(), definition)
                                                    : nullptr);
    if (auto* painter = kindCast<AbstractPainter>(object.get())) {
        painter->prepare();
        const int w = painter->adjustWidth(frameWidth);
        const int h = painter->adjustHeight(frameHeight);
        RefPtr<Image> frame = createDisplayImage(w, h);
        if (frame) {
            if (const RefPtr<Graphics> canvas = createGraphics(*frame)) {
                painter->paint(*canvas);
            }
            awardBox_->setImage(frame.get());
            awardBox_->sizeToImage();
        }
    }
    awardBox_->setAnchorPoint(AnchorKind::Center);
    awardBox_->setPosition(kRoomCentreX,
                           awardHeaderLabel_->getY() - 20 + awardBox_->getHeight() / 2);
    awardBox_->removeAllModifiers();
    awardBox_->setScale(0.0F);
    awardBox_->addModifier(new ModifierVisible(ModifierVisible::Show));
    awardBox_->addModifier(new ModifierScale(kAwardBoxMs, 0.0F, 1.0F));
    for (Label* label : {awardHeaderLabel_, awardTextLabel_}) {
        label->removeAllModifiers();
        label->setAlpha(255);
        label->addModifier(holdingBack(new ModifierDelay(kAwardLabelDelayMs)));
        label->addModifier(new ModifierVisible(ModifierVisible::Show));
    }
}

void DialogTrophy::hideAwardBox() {
    for (Label* label : {awardHeaderLabel_, awardTextLabel_}) {
        if (label != nullptr) {
            label->removeAllModifiers();
            label->setVisible(false);
        }
    }
    if (awardBox_ != nullptr && awardBox_->isVisible()) {
        awardBox_->removeAllModifiers();
        awardBox_->addModifier(holdingBack(new ModifierScale(kAwardBoxMs, 1.0F, 0.0F)));
        awardBox_->addModifier(new ModifierVisible(ModifierVisible::Hide));
    }
}

int DialogTrophy::onTrophyArrived(void* dialog, void* modifier) {
    auto* self = static_cast<DialogTrophy*>(dialog);
    self->trophyArrived(kindCast<Sprite>(static_cast<Modifier*>(modifier)->getTarget()));
    return 0;
}

void DialogTrophy::trophyArrived(Sprite* trophy) {
    const TrophyList* list = trophyRoomList();
    if (trophy != nullptr && list != nullptr && currentTrophy_ < static_cast<int>(list->size())) {
        const TrophyInfoEntry& shelf = list->get(static_cast<std::size_t>(currentTrophy_)).entry(0);
        trophy->setImage(widget::findImage(shelf.image, shelf.section).get());
        trophy->setScale(1.0F);
    }
    playDialogSound("trophy", "SOUND_TROPHY_ARRIVES");
    for (GameNode* child = unclaimedEarnedLayer_->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        if (child->getTag() == currentTrophy_ && !child->hasRemovalMark()) {
            child->setRemovalMark(true);
            break;
        }
    }
}

void DialogTrophy::showEarnedTrophies(bool afterAward) {
    TrophyList* list = trophyRoomList();
    Sprite* last = nullptr;
    if (list != nullptr) {
        int delay = 0;
        const int count = std::min(static_cast<int>(list->size()), kNoTrophy);
        for (int i = 0; i < count; ++i) {
            const int state = trophyState(*list, i);
            if (isUnearned(state) || (afterAward && state == TrophyState::kPresenting)) {
                continue;
            }
            const TrophyInfoEntry& shelf = list->get(static_cast<std::size_t>(i)).entry(0);
            Sprite* trophy = roomSprite(shelf.image, shelf.section, shelf.x, shelf.y, i);
            trophy->setAlpha(0);
            GameTree::appendChild(trophy, trophyLayer_.get());
            trophy->addModifier(holdingBack(new ModifierDelay(delay)));
            trophy->addModifier(new ModifierAlpha(kPopStepMs, 0, 255));
            trophy->addModifier(holdingBack(new ModifierScale(kPopScaleMs, 0.0F, 1.0F)));
            delay += kPopStepMs;
            last = trophy;
        }
        for (int i = 0; i < count; ++i) {
            if (trophyState(*list, i) == TrophyState::kPresenting) {
                list->setState(static_cast<std::size_t>(i), TrophyState::kSeen);
            }
        }
    }
    if (last != nullptr) {
        last->addModifier(new ModifierFunction(&DialogTrophy::onRoomReady, this));
    } else {
        roomReady();
    }
    if (afterAward) {
        buildWindows();
    }
}

int DialogTrophy::onRoomReady(void* dialog, void* /*modifier*/) {
    static_cast<DialogTrophy*>(dialog)->roomReady();
    return 0;
}

void DialogTrophy::roomReady() {
    busy_ = false;
    // The earned trophies stand on their shelves now: their grey stand-ins
    // go at the next purge.
    for (GameNode* child = unclaimedEarnedLayer_->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        child->setRemovalMark(true);
    }
}

int DialogTrophy::windowX(int room) {
    return kWindowLeft + kWindowStep * (room - 1) + (room > 2 ? kWingGap : 0) +
           (room > 3 ? kWingGap : 0);
}

int DialogTrophy::windowY(int floor) {
    return kWindowBottomRow - kFloorStep * (floor - 1);
}

void DialogTrophy::buildWindows() {
    markLayerForRemoval(*windowLayer_);
    const OrvantaPlayer* player = trophyRoomPlayer();
    if (player == nullptr) {
        return;
    }
    for (int floor = 1; floor <= kTowerFloors; ++floor) {
        for (int room = 1; room <= kTowerRooms; ++room) {
            const RoomRecord& record = player->stats.getRoom(floor, room);
            if (record.levelWinCount <= 0) {
                continue;
            }
            const RefPtr<Level> level = getLevelSets().createLevel(floor, room);
            const bool gold = level && record.bestScore >= level->getGold();
            auto* window = new Sprite(nullptr);
            window->setImage(
                widget::findImage(gold ? "WINDOW_STAR" : "WINDOW_LIGHT", "trophy").get());
            window->setPosition(windowX(room), windowY(floor));
            window->setTag((floor - 1) * kTowerRooms + room - 1);
            GameTree::appendChild(window, windowLayer_.get());
        }
    }
}

bool DialogTrophy::windowAt(int x, int y, int& room, int& floor) {
    room = -1;
    floor = -1;
    if (x < kWindowLeft || x >= kGridRight || y < kGridTop || y >= kGridBottom) {
        return false;
    }
    for (int r = 1; r <= kTowerRooms; ++r) {
        // The first window reaches back to the grid's left edge.
        const int left = r == 1 ? kWindowLeft : windowX(r);
        if (x >= left && x <= windowX(r) + kWindowSize) {
            room = r;
            break;
        }
    }
    for (int i = 0; i < kTowerFloors; ++i) {
        const int bottom = kGridBottom - kFloorStep * i;
        if (y >= bottom - kWindowSize && y <= bottom) {
            floor = i + 1;
            break;
        }
    }
    if (room < 0 || floor < 0) {
        room = -1;
        floor = -1;
        return false;
    }
    return true;
}

std::wstring DialogTrophy::roomLegend(int floor, int room) {
    std::string key = "TEXT_LEGEND_NOTPLAYED";
    const OrvantaPlayer* player = trophyRoomPlayer();
    if (player != nullptr && floor >= 1 && floor <= kTowerFloors && room >= 1 &&
        room <= kTowerRooms) {
        const RoomRecord& record = player->stats.getRoom(floor, room);
        if (record.levelWinCount > 0) {
            key = "TEXT_LEGEND_PLAYED";
        }
        const RefPtr<Level> level = getLevelSets().createLevel(floor, room);
        if (level && record.levelWinCount > 0 && level->getGold() <= record.bestScore) {
            key = "TEXT_LEGEND_GOLD";
        }
    }
    std::wstring legend = getText("TEXT_ROOM");
    legend += L' ';
    for (const char c : std::to_string(floor) + std::to_string(room)) {
        legend += static_cast<wchar_t>(c);
    }
    legend += L": ";
    legend += getText(key);
    return legend;
}

void DialogTrophy::trophyTexts(int index, bool grouped, std::wstring& title,
                               std::wstring& description) {
    title.clear();
    description.clear();
    const TrophyList* list = trophyRoomList();
    if (list == nullptr || index < 0 || index >= static_cast<int>(list->size())) {
        return;
    }
    const TrophyInfoEntry& award = list->get(static_cast<std::size_t>(index)).entry(1);
    title = formatTrophyText(award.textId);
    description = formatTrophyHeader(award.headerId, award.textId, true);
    const std::optional<int> number = trophyNumber(index);
    if (!number) {
        return;
    }
    const auto value = static_cast<std::uint32_t>(std::max(0, *number));
    std::wstring digits;
    if (grouped && (index == 13 || index == 16)) {
        groupDigits(value, digits, getText("CTEXT_DIGIT_GROUPING_SYMBOL"));
    } else {
        for (const char c : std::to_string(value)) {
            digits += static_cast<wchar_t>(c);
        }
    }
    replaceAll(description, L"%3", digits, true);
}

bool DialogTrophy::onMouseMove(int x, int y, int flags) {
    pointerX_ = x;
    pointerY_ = y;
    return DialogOrvanta::onMouseMove(x, y, flags);
}

void DialogTrophy::updateSelf(int elapsedMs) {
    DialogOrvanta::updateSelf(elapsedMs);
    if (busy_ || isClosing()) {
        return;
    }
    int room = -1;
    int floor = -1;
    if (windowAt(pointerX_, pointerY_, room, floor)) {
        if (room != hoveredRoom_ || floor != hoveredFloor_) {
            if (textDialog_ != nullptr) {
                textDialog_->hideNow();
            }
            if (roomInfoDialog_ != nullptr) {
                roomInfoDialog_->setText(roomLegend(floor, room));
                roomInfoDialog_->show();
            }
            infoTimer_ = TROPHY_DIALOG_TIME;
            hoveredRoom_ = room;
            hoveredFloor_ = floor;
        }
        return;
    }
    hoveredRoom_ = -1;
    hoveredFloor_ = -1;
    hoverTrophies(elapsedMs);
}

void DialogTrophy::hoverTrophies(int elapsedMs) {
    bool onTrophy = false;
    for (GameNode* node = trophyLayer_->getFirstChild(); node != nullptr;
         node = node->getNextSibling()) {
        auto* sprite = kindCast<Sprite>(node);
        if (sprite == nullptr || sprite->hasRemovalMark()) {
            continue;
        }
        if (!sprite->hitTest(pointerX_, pointerY_)) {
            if (sprite == hoveredTrophy_) {
                sprite->removeAllModifiers();
                sprite->setRotation(0.0F);
                sprite->setScale(1.0F);
                sprite->setAlpha(255);
                hoveredTrophy_ = nullptr;
            }
            continue;
        }
        onTrophy = true;
        if (hoveredTrophy_ != nullptr) {
            continue;
        }
        markLayerForRemoval(*hoverStarLayer_);
        const TrophyList* list = trophyRoomList();
        const int index = sprite->getTag();
        const bool unearned = list == nullptr || index >= static_cast<int>(list->size()) ||
                              isUnearned(trophyState(*list, index));
        if (unearned) {
            sprite->addModifier(holdingBack(new ModifierBlink(255, 127, 750, 750, 0, 500, 1)));
            sprite->addModifier(new ModifierFunction(&DialogTrophy::onBlinkDone, this));
        } else {
            for (int k = 0; k < kHoverStars; ++k) {
                Sprite* star =
                    roomSprite("FADING_STAR", "default", sprite->getX(), sprite->getY(), k, true);
                star->setAlpha(0);
                GameTree::appendChild(star, hoverStarLayer_.get());
                star->addModifier(holdingBack(new ModifierAlpha(200, 0, 255)));
                orbitStar(star);
            }
        }
        hoveredTrophy_ = sprite;
        std::wstring title;
        std::wstring description;
        trophyTexts(index, true, title, description);
        if (roomInfoDialog_ != nullptr) {
            roomInfoDialog_->putAway();
        }
        if (textDialog_ != nullptr) {
            textDialog_->setTexts(title, description);
            textDialog_->show();
        }
        infoTimer_ = TROPHY_DIALOG_TIME;
    }
    if (onTrophy) {
        return;
    }
    markLayerForRemoval(*hoverStarLayer_);
    infoTimer_ -= elapsedMs;
    if (infoTimer_ < 1) {
        if (roomInfoDialog_ != nullptr) {
            roomInfoDialog_->hide();
        }
        if (textDialog_ != nullptr) {
            textDialog_->hide();
        }
    }
}

int DialogTrophy::onBlinkDone(void* dialog, void* /*modifier*/) {
    static_cast<DialogTrophy*>(dialog)->hoveredTrophy_ = nullptr;
    return 0;
}

void DialogTrophy::orbitStar(Sprite* star) {
    const Sprite* trophy = hoveredTrophy_;
    int x = star->getX();
    int y = star->getY();
    int radius = 0;
    if (trophy != nullptr) {
        x = trophy->getX();
        y = trophy->getY();
        radius = trophy->getWidth() / 2;
    }
    const float start = 2.0F * std::numbers::pi_v<float> * static_cast<float>(star->getTag()) /
                        static_cast<float>(kHoverStars);
    star->addModifier(holdingBack(new ModifierLocationWave(
        x, y, radius, radius, start, start + 2.0F * std::numbers::pi_v<float>, 0, kOrbitMs)));
    star->addModifier(new ModifierFunction(&DialogTrophy::onOrbitDone, this));
}

int DialogTrophy::onOrbitDone(void* dialog, void* modifier) {
    auto* self = static_cast<DialogTrophy*>(dialog);
    if (auto* star = kindCast<Sprite>(static_cast<Modifier*>(modifier)->getTarget())) {
        self->orbitStar(star);
    }
    return 0;
}

int DialogTrophy::onMenuButton(void* dialog, void* /*button*/) {
    static_cast<DialogTrophy*>(dialog)->closeRoom();
    return 0;
}

void DialogTrophy::clearLayers() {
    hoveredTrophy_ = nullptr;
    for (const RefPtr<GameNode>& layer :
         {trophyLayer_, unclaimedEarnedLayer_, starLayer_, windowLayer_, hoverStarLayer_}) {
        releaseLayer(layer);
    }
}

void DialogTrophy::putCompanionsAway(bool forget) {
    Scene* scene = getShownScene();
    if (textDialog_ != nullptr) {
        textDialog_->hideNow();
        textDialog_->setState(DialogTrophyText::Hidden);
        if (scene != nullptr) {
            scene->closeDialog(textDialog_);
        }
    }
    if (roomInfoDialog_ != nullptr) {
        roomInfoDialog_->putAway();
        if (scene != nullptr) {
            scene->closeDialog(roomInfoDialog_);
        }
    }
    if (forget) {
        textDialog_ = nullptr;
        roomInfoDialog_ = nullptr;
    }
}

void DialogTrophy::closeRoom() {
    if (isClosing()) {
        return;
    }
    busy_ = true;
    currentTrophy_ = kNoTrophy;
    pendingAwards_.clear();
    // A ceremony cut short leaves its trophies seen: the room showed them.
    if (TrophyList* list = trophyRoomList()) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            if (list->getState(i) == TrophyState::kPresenting) {
                list->setState(i, TrophyState::kSeen);
            }
        }
    }
    clearLayers();
    putCompanionsAway(true);
    DialogOrvanta::close(this);
}

void DialogTrophy::putAway() {
    setAfterClose(nullptr, nullptr);
    if (TrophyList* list = trophyRoomList()) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            if (list->getState(i) == TrophyState::kPresenting) {
                list->setState(i, TrophyState::kSeen);
            }
        }
    }
    clearLayers();
    putCompanionsAway(true);
    DialogOrvanta::closeAtOnce(this);
}

void DialogTrophy::close() {
    // The scene's hide slot: the two boxes go with the room (each only when
    // it is still set).
    putCompanionsAway(false);
    DialogOrvanta::close();
}

} // namespace orv
