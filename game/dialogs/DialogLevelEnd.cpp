#include "game/dialogs/DialogLevelEnd.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/core/ModifierContainer.h"
#include "engine/core/TextUtil.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/Label.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierRotation.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/Scene.h"
#include "engine/system/Platform.h"
#include "game/board/Game.h"
#include "game/dialogs/DialogSounds.h"
#include "game/dialogs/DialogTrophy.h"
#include "game/dialogs/ModifierCountUp.h"

namespace orv {

constinit const ClassRecord DialogLevelEnd::classRecord{"DialogLevelEnd",
                                                        parentRecords<DialogOrvanta::classRecord>};

namespace {

BestResult previousBest;

// Number of rocking steps of the header's entrance.
constexpr int kWiggleSteps = 5;

std::wstring prefix(std::string_view textId) {
    return getText(textId) + L" ";
}

bool losesRecords(const LevelResult& result) {
    return !result.won && (result.place == Place::Hallway || result.place == Place::RecRoom);
}

std::string_view placeLine(Place place) {
    switch (place) {
    case Place::Casino:
        return "TEXT_LEVEL_END_CASINO";
    case Place::RecRoom:
        return "TEXT_LEVEL_END_RECROOM";
    case Place::Roof:
        return "TEXT_LEVEL_END_ROOFTOP";
    default:
        return "TEXT_LEVEL_END_QUENBY";
    }
}

std::wstring bestTimeText(int timeMs) {
    return timeMs > 0 ? ModifierCountUp::formatValue(prefix("TEXT_RECORD_STAT"), timeMs, true)
                      : prefix("TEXT_RECORD_STAT") + L"-";
}

// Moves `node` under `parent`, keeping where it is on the screen.
void moveKeepingPlace(GameNode* node, GameNode* parent) {
    if (node == nullptr || parent == nullptr || node->getParent() == parent) {
        return;
    }
    const RefPtr<GameNode> keep(node);
    const int x = node->getAbsoluteX();
    const int y = node->getAbsoluteY();
    GameTree::appendChild(node, parent);
    node->setPosition(x - parent->getAbsoluteX(), y - parent->getAbsoluteY());
}

} // namespace

DialogLevelEnd::DialogLevelEnd(PropertyNode* definition) : DialogOrvanta(definition) {
    header_ = kindCast<Sprite>(findComponent("HEADER"));
    if (header_ != nullptr) {
        wonPicture_ = header_->getImage();
    }
    sub_ = kindCast<Label>(findComponent("SUB"));
    score_ = kindCast<Label>(findComponent("SCORE"));
    bestScore_ = kindCast<Label>(findComponent("BEST_SCORE"));
    time_ = kindCast<Label>(findComponent("TIME"));
    bestTime_ = kindCast<Label>(findComponent("BEST_TIME"));
    static_cast<void>(bindComponent("BUTTON_CONTINUE", &DialogLevelEnd::onContinue, this));
    setResult(resultOfCurrentGame());
    setPlaySounds(false);
    setAnimateShow(false);
}

DialogLevelEnd::~DialogLevelEnd() {
    endSequence();
}

BaseObject* DialogLevelEnd::createFromDefinition(PropertyNode* definition) {
    return new DialogLevelEnd(definition);
}

void DialogLevelEnd::storePreviousBest() {
    const Game* game = Game::getCurrent();
    const Level* level = game != nullptr ? game->getLevel() : nullptr;
    if (PlayerHook* players = getPlayerHook(); players != nullptr && level != nullptr) {
        previousBest = players->getBest(*level);
    }
}

BestResult DialogLevelEnd::getPreviousBest() {
    return previousBest;
}

void DialogLevelEnd::setPreviousBest(BestResult best) {
    previousBest = best;
}

LevelResult DialogLevelEnd::resultOfCurrentGame() {
    LevelResult result;
    const Game* game = Game::getCurrent();
    if (game == nullptr) {
        return result;
    }
    const GameCounters& counters = game->getCounters();
    if (const Level* level = game->getLevel()) {
        result.place = level->getPlace();
    }
    result.won = counters.hasWon;
    result.score = game->getScore().getValue();
    result.timeMs = result.place == Place::RecRoom ? counters.realTime : counters.clockTime;
    return result;
}

void DialogLevelEnd::setResult(const LevelResult& result) {
    result_ = result;
    timeUp_ = !result.won;
    if (sub_ != nullptr) {
        sub_->setText(getText(timeUp_ ? "TEXT_LEVEL_END_TIME_UP" : placeLine(result.place)));
    }
    if (header_ != nullptr) {
        RefPtr<Image> picture = wonPicture_;
        if (ResourceManager* resources = ResourceManager::getInstance(); resources && timeUp_) {
            const platform::NamedMutexGuard guard(resources->getDataLock());
            picture = kindCast<Image>(resources->getLoadedObject("IMAGE_GAMEOVER", "game"));
        }
        if (picture) {
            header_->setImage(picture.get());
            header_->sizeToImage();
        }
    }
    const bool times = result.place == Place::RecRoom;
    const GameNode* anchor = findComponent("ANCHOR");
    for (Label* label : {score_, bestScore_, time_, bestTime_}) {
        if (label == nullptr) {
            continue;
        }
        if (anchor != nullptr) {
            label->setY(anchor->getY());
        }
        label->setVisible((label == time_ || label == bestTime_) == times);
    }
    if (score_ != nullptr) {
        score_->setText(ModifierCountUp::formatValue(prefix("TEXT_SCORE_STAT"), 0, false));
    }
    if (bestScore_ != nullptr) {
        bestScore_->setText(
            ModifierCountUp::formatValue(prefix("TEXT_RECORD_STAT"), previousBest.score, false));
    }
    if (time_ != nullptr) {
        time_->setText(ModifierCountUp::formatValue(prefix("TEXT_TIME_STAT"), 0, true));
    }
    if (bestTime_ != nullptr) {
        bestTime_->setText(bestTimeText(previousBest.timeMs));
    }
}

bool DialogLevelEnd::isScoreRecord() const {
    return !losesRecords(result_) && result_.score >= previousBest.score;
}

bool DialogLevelEnd::isTimeRecord() const {
    return !losesRecords(result_) &&
           (result_.timeMs < previousBest.timeMs || previousBest.timeMs == 0);
}

void DialogLevelEnd::chain(Modifier* step, GameNode* target) {
    step->setTarget(target);
    Modifier::attachTo(last_, step);
    last_ = step;
}

void DialogLevelEnd::chainFadeIn(Label* label) {
    chain(new ModifierAlpha(kStepMs, 0, 255), label);
}

void DialogLevelEnd::chainFunction(int (*function)(void*, void*)) {
    chain(new ModifierFunction(function, this), this);
}

void DialogLevelEnd::open() {
    // The dialog may have been built before this level ended (or for an
    // earlier one): it shows the result of the game that ends now.
    if (Game::getCurrent() != nullptr) {
        setResult(resultOfCurrentGame());
    }
    DialogOrvanta::open();
    // The components wait for the count-up; the dialog's own part still
    // hears a press, which skips it.
    setUseBuffer(true);
    getListenerContainer().setInputEnabled(false);
    setAlpha(0);
    for (Label* label : {score_, bestScore_, time_, bestTime_}) {
        if (label != nullptr) {
            label->setAlpha(0);
        }
    }
    endSequence();
    Scene* scene = getShownScene();
    AnimTree* tree = scene != nullptr ? scene->getAnimTree() : nullptr;
    if (tree == nullptr) {
        showFinalValues();
        return;
    }
    sequence_ = new ModifierContainer();
    Modifier::attachTo(tree, sequence_.get());
    last_ = sequence_.get();

    const int wiggleTime = GOODIE_WIGGLE_TIME;
    if (header_ != nullptr) {
        // The header leaves the dialog for the screen's effects, so that it
        // can rock over the frame while the dialog fades in.
        PlayingScreenHook* screen = getPlayingScreenHook();
        GameNode* effects = screen != nullptr ? screen->getEffectLayer() : nullptr;
        moveKeepingPlace(header_, effects);
        header_->setScale(0.0F);
        const float angle = BasicProperties::get() != nullptr
                                ? BasicProperties::get()->getFloat("GOODIE_WIGGLE_ANGLE")
                                : 0.0F;
        Modifier* step = new ModifierScale(GOODIE_APPEAR_TIME, 0.0F, 1.0F);
        step->setTarget(header_);
        Modifier::attachTo(sequence_.get(), step);
        const float angles[kWiggleSteps + 1] = {0.0F, angle, -angle, angle, -angle, 0.0F};
        for (int i = 0; i < kWiggleSteps; ++i) {
            Modifier* rock = new ModifierRotation(angles[i], angles[i + 1], wiggleTime);
            rock->setTarget(header_);
            Modifier::attachTo(step, rock);
            step = rock;
        }
    }
    chain(new ModifierAlpha(GOODIE_APPEAR_TIME + kWiggleSteps * wiggleTime, 0, 255), this);
    chainFunction(&DialogLevelEnd::onBufferOff);
    const int previousScore = previousBest.score;
    if (score_ != nullptr && score_->isVisible()) {
        chainFadeIn(score_);
        chainFadeIn(bestScore_);
        const std::wstring scorePrefix = prefix("TEXT_SCORE_STAT");
        if (isScoreRecord()) {
            if (previousScore > 0) {
                chain(new ModifierCountUp(scorePrefix, 0, previousScore, kStepMs, false), score_);
            }
            chain(new ModifierCountUp(prefix("TEXT_RECORD_STAT"), previousScore, result_.score,
                                      kStepMs, false),
                  bestScore_);
            chainFunction(&DialogLevelEnd::onRecordScore);
            chain(new ModifierCountUp(scorePrefix, previousScore, result_.score, kStepMs, false),
                  score_);
        } else {
            chain(new ModifierCountUp(scorePrefix, 0, result_.score, kLongCountMs, false), score_);
        }
    } else if (time_ != nullptr && time_->isVisible()) {
        chainFadeIn(time_);
        chainFadeIn(bestTime_);
        chain(new ModifierCountUp(prefix("TEXT_TIME_STAT"), 0, result_.timeMs, kLongCountMs, true),
              time_);
        if (isTimeRecord()) {
            chain(new ModifierCountUp(prefix("TEXT_RECORD_STAT"), previousBest.timeMs,
                                      result_.timeMs, kStepMs, true),
                  bestTime_);
            chainFunction(&DialogLevelEnd::onRecordTime);
        }
    }
    chainFunction(&DialogLevelEnd::onCountDone);
}

int DialogLevelEnd::onBufferOff(void* dialog, void* /*modifier*/) {
    static_cast<DialogLevelEnd*>(dialog)->setUseBuffer(false);
    return 0;
}

int DialogLevelEnd::onRecordScore(void* dialog, void* /*modifier*/) {
    playDialogSound("game", "SOUND_RECORD_BROKEN");
    if (PlayingScreenHook* screen = getPlayingScreenHook()) {
        screen->showStarBurst(static_cast<DialogLevelEnd*>(dialog)->bestScore_);
    }
    return 0;
}

int DialogLevelEnd::onRecordTime(void* dialog, void* /*modifier*/) {
    playDialogSound("game", "SOUND_RECORD_BROKEN");
    if (PlayingScreenHook* screen = getPlayingScreenHook()) {
        screen->showStarBurst(static_cast<DialogLevelEnd*>(dialog)->bestTime_);
    }
    return 0;
}

int DialogLevelEnd::onCountDone(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogLevelEnd*>(dialog);
    self->endSequence();
    self->setAllInput(true);
    return 0;
}

void DialogLevelEnd::endSequence() {
    if (sequence_) {
        sequence_->setKilled(true);
        sequence_ = nullptr;
    }
    last_ = nullptr;
}

bool DialogLevelEnd::onLeftButtonDown(int x, int y, int flags, bool doubleClick) {
    if (sequence_ && hitTest(x, y)) {
        skip();
        return true;
    }
    return DialogOrvanta::onLeftButtonDown(x, y, flags, doubleClick);
}

void DialogLevelEnd::skip() {
    if (!sequence_) {
        return;
    }
    endSequence();
    showFinalValues();
}

void DialogLevelEnd::showFinalValues() {
    setAlpha(255);
    if (header_ != nullptr) {
        header_->setScale(1.0F);
        header_->setRotation(0.0F);
    }
    for (Label* label : {score_, bestScore_, time_, bestTime_}) {
        if (label != nullptr) {
            label->setAlpha(255);
        }
    }
    if (score_ != nullptr) {
        score_->setText(
            ModifierCountUp::formatValue(prefix("TEXT_SCORE_STAT"), result_.score, false));
    }
    if (bestScore_ != nullptr) {
        const int best = isScoreRecord() ? result_.score : previousBest.score;
        bestScore_->setText(ModifierCountUp::formatValue(prefix("TEXT_RECORD_STAT"), best, false));
    }
    if (time_ != nullptr) {
        time_->setText(
            ModifierCountUp::formatValue(prefix("TEXT_TIME_STAT"), result_.timeMs, true));
    }
    if (bestTime_ != nullptr) {
        bestTime_->setText(bestTimeText(isTimeRecord() ? result_.timeMs : previousBest.timeMs));
    }
    // What the end of the count does: the components drawn live again and
    // every input on, so Continue answers.
    setUseBuffer(false);
    setAllInput(true);
}

void DialogLevelEnd::bringHeaderHome() {
    if (header_ != nullptr && header_->getParent() != getComponentRoot()) {
        moveKeepingPlace(header_, getComponentRoot());
        header_->setScale(1.0F);
        header_->setRotation(0.0F);
    }
}

void DialogLevelEnd::close() {
    endSequence();
    bringHeaderHome();
    DialogOrvanta::close();
}

int DialogLevelEnd::onContinue(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogLevelEnd*>(dialog);
    if (self->isClosing()) {
        return 0;
    }
    self->skip();
    self->bringHeaderHome();
    // The room-information state takes the next step itself.
    PlayingScreenHook* screen = getPlayingScreenHook();
    if (screen != nullptr && screen->isRoomInfoState()) {
        self->setAfterClose(nullptr, nullptr);
    }
    if (self->waitingForTrophies_) {
        return 0;
    }
    // Trophies waiting to be shown: the trophy room opens over the faded
    // dialog, which closes (and moves the game on) once the room has closed.
    self->setAllInput(false);
    if (DialogTrophy::open(self, &DialogLevelEnd::afterTrophies)) {
        self->waitingForTrophies_ = true;
        self->addModifier(new ModifierAlpha(DIALOG_FADE_TIME, self->getAlpha(), 0));
        return 0;
    }
    close(self);
    return 0;
}

int DialogLevelEnd::afterTrophies(void* dialog, void* /*room*/) {
    auto* self = static_cast<DialogLevelEnd*>(dialog);
    self->waitingForTrophies_ = false;
    close(self);
    return 0;
}

} // namespace orv
