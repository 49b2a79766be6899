#include "game/screen/TimeBar.h"

#include "engine/core/RandomGenerator.h"
#include "engine/graphics/Graphics.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/SoundNode.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/ModifierFrame.h"
#include "game/board/Game.h"
#include "game/screen/PlayingScreen.h"
#include "game/screen/ScreenMath.h"

#include <algorithm>
#include <cmath>

namespace orv {

constinit const ClassRecord TimeBar::classRecord{"TimeBar", parentRecords<Sprite::classRecord>};

namespace {

Sprite* findSprite(std::string_view name) {
    PlayingScreen* screen = getPlayingScreen();
    GameNode* node = screen != nullptr ? screen->findComponent(name) : nullptr;
    return kindCast<Sprite>(node);
}

// Whether the level clock runs: the board is shown, a game exists and no
// tutorial bubble holds it.
bool clockRuns() {
    const PlayingScreen* screen = getPlayingScreen();
    return screen != nullptr && screen->getPauseState() == 0 && Game::getCurrent() != nullptr &&
           !screen->isGameHeld();
}

} // namespace

TimeBar::TimeBar(PropertyNode* saved) : Sprite(0, 0, nullptr) {
    findParts();
    if (saved != nullptr && saved != DUMMY_NODE) {
        setMaxTime(saved->getValue("maxTime")->getInt());
        time_.reset(saved->getValue("currentTime")->getInt());
    }
    if (rotate_ != nullptr) {
        rotate_->removeAllModifiers();
        rotate_->setCurrentFrame(0);
    }
    if (glow_ != nullptr) {
        glow_->removeAllModifiers();
        glow_->setAlpha(0);
    }
    drawFill();
}

TimeBar::~TimeBar() {
    stopWarningSound();
}

BaseObject* TimeBar::createFromDefinition(PropertyNode* definition) {
    return new TimeBar(definition);
}

void TimeBar::findParts() {
    clock_ = findSprite("TIMEBAR_CLOCK");
    background_ = findSprite("TIMEBAR_BACKGROUND");
    filling_ = findSprite("TIMEBAR_FILLING");
    rotate_ = findSprite("TIMEBAR_ROTATE");
    glow_ = findSprite("TIMEBAR_GLOW");
    topMask_ = widget::findImage("IMAGE_TIMEBARTOPMASK", "game");
    fillImage_ = widget::findImage("IMAGE_TIMEBARFILL", "game");
    topImage_ = widget::findImage("IMAGE_TIMEBARTOP", "game");
    if (filling_ != nullptr && fillImage_ != nullptr) {
        filling_->setImage(cloneImage(*fillImage_).get());
        filling_->setClipRect(filling_->getX(), filling_->getY(), filling_->getWidth(),
                              filling_->getHeight());
    }
}

void TimeBar::setMaxTime(std::int32_t maxMs) {
    const std::int32_t max = std::max(maxMs, 0);
    time_ = DisplayValue(std::clamp(time_.getValue(), 0, max), 0, max);
}

void TimeBar::reset() {
    time_.reset(time_.getMax());
    fillSpeed_ = 0.0F;
    shownFillTop_ = fillTopY();
}

float TimeBar::fillTopY() const {
    if (filling_ == nullptr) {
        return 0.0F;
    }
    return timeFillTop(filling_->getY(), filling_->getHeight(), time_.getShown(), time_.getMax());
}

void TimeBar::save(PropertyNode& node) const {
    node.add(new PropertyValue("currentTime", static_cast<int>(time_.getValue())));
    node.add(new PropertyValue("maxTime", static_cast<int>(time_.getMax())));
}

void TimeBar::setVisible(bool visible) {
    Sprite::setVisible(visible);
    for (Sprite* part : {background_, filling_, clock_, rotate_, glow_}) {
        if (part != nullptr) {
            part->setVisible(visible);
        }
    }
}

void TimeBar::stopWarningSound() {
    if (!warningSound_) {
        return;
    }
    warningSound_ = false;
    PlayingScreen* screen = getPlayingScreen();
    if (SoundNode* sound = screen != nullptr ? screen->getTimeSound() : nullptr; sound != nullptr) {
        static_cast<void>(sound->stop(false));
    }
}

void TimeBar::updateSelf(int elapsedMs) {
    const bool runs = clockRuns();
    if (runs && time_.getValue() > 0) {
        time_.addAndCommit(-std::max(elapsedMs, 0));
    }
    const PlayingScreen* screen = getPlayingScreen();
    const bool ended = screen == nullptr || screen->isLevelOver();
    const std::int32_t left = time_.getValue();

    // The warning sound starts once when time runs short and is stopped
    // once when the warning ends (a pause, the level's end, time added), so
    // that the sound's user count stays balanced.
    if (runs && !ended && left <= TIME_ALMOST_UP_SOUND) {
        if (!warningSound_) {
            if (SoundNode* sound = screen->getTimeSound(); sound != nullptr) {
                static_cast<void>(
                    sound->play(sound->getVolume(), sound->getPanning(), true, false));
            }
            warningSound_ = true;
        }
    } else {
        stopWarningSound();
    }

    if (runs && !ended && left > 0 && left < TIME_ALMOST_UP_ANIM) {
        if (rotate_ != nullptr && rotate_->getOwnModifiers().empty()) {
            rotate_->addModifier(new ModifierFrame(-1, 10));
            if (glow_ != nullptr) {
                glow_->removeAllModifiers();
                glow_->addModifier(new ModifierBlink(64, 255, 500, 0, 100, 500, 0));
            }
        }
    } else {
        if (rotate_ != nullptr) {
            rotate_->removeAllModifiers();
            rotate_->setCurrentFrame(0);
        }
        if (glow_ != nullptr) {
            glow_->removeAllModifiers();
            glow_->setAlpha(0);
        }
    }

    approachValue(shownFillTop_, fillSpeed_, std::max(elapsedMs, 0), fillTopY(), 1000.0F, 2000.0F,
                  2000.0F, true);
    drawFill();
}

void TimeBar::drawFill() {
    if (filling_ == nullptr || fillImage_ == nullptr) {
        return;
    }
    const float shown = std::isfinite(shownFillTop_) ? shownFillTop_ : 0.0F;
    const int top = static_cast<int>(std::clamp(shown, -1.0e6F, 1.0e6F));
    filling_->setClipRect(filling_->getX(), top, filling_->getWidth(), 600);
    const RefPtr<Image> copy = cloneImage(*fillImage_);
    if (copy == nullptr) {
        return;
    }
    filling_->setImage(copy.get());
    const int height = copy->getHeight();
    const int edge = top - filling_->getY();
    const RefPtr<Graphics> graphics = createGraphics(*copy);
    if (graphics == nullptr || edge >= height) {
        return;
    }
    // Each piece is drawn only where it meets the picture: an edge above
    // or below the fill (an empty or overfull bar) leaves it out.
    if (topMask_ != nullptr && edge + topMask_->getHeight() > 0) {
        graphics->copyChannel(*topMask_, 0, 0, edge);
    }
    if (topImage_ != nullptr) {
        if (edge + 1 + topImage_->getHeight() > 0) {
            graphics->maxChannel(*topImage_, 0, 0, edge + 1);
        }
        const int rows = std::min(topImage_->getHeight(), height - 5 - edge);
        if (rows > 0 && edge + rows > 0) {
            graphics->drawImage(*topImage_, 0, edge, 0, 0, topImage_->getWidth(), rows);
        }
    }
}

} // namespace orv
