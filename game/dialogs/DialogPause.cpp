#include "game/dialogs/DialogPause.h"

#include "engine/resources/Sound.h"
#include "engine/resources/SoundManager.h"
#include "engine/resources/SoundStream.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogSounds.h"

#include <cmath>

namespace orv {

constinit const ClassRecord DialogPause::classRecord{"DialogPause",
                                                     parentRecords<DialogOrvanta::classRecord>};

namespace {

// Fades the music that is heard now towards `target` over the pause's fade
// time: the current stream, or the stream coming in while music
// cross-fades.
void fadeMusicTo(float target) {
    SoundManager* sound = SoundManager::getInstance();
    if (!isSoundEnabled() || sound == nullptr || sound->getCurrent() == nullptr) {
        return;
    }
    const float level = sound->getCurrent()->getFadeLevel();
    SoundStream* stream = sound->isCrossFading() ? sound->getNext() : sound->getCurrent();
    if (stream != nullptr) {
        SoundManager::startFade(*stream, level, target, DialogPause::kFadeMs);
    }
}

} // namespace

DialogPause::DialogPause(PropertyNode* definition) : DialogOrvanta(definition) {
    static_cast<void>(bindComponent("BUTTON_RESUME", &DialogPause::onResume, this));
}

BaseObject* DialogPause::createFromDefinition(PropertyNode* definition) {
    return new DialogPause(definition);
}

void DialogPause::open() {
    DialogOrvanta::open();
    playDialogSound("game", "SOUND_PAUSE");
    fadeMusicTo(0.0F);
    addModifier(new ModifierDelay(kFadeMs));
    addModifier(new ModifierFunction(&DialogPause::onMute, this));
}

int DialogPause::onMute(void* /*pause*/, void* /*modifier*/) {
    SoundManager* sound = SoundManager::getInstance();
    if (isSoundEnabled() && sound != nullptr) {
        sound->setMuted(true);
    }
    return 0;
}

bool DialogPause::onLeftButtonUp(int x, int y, int flags) {
    static_cast<void>(flags);
    if (!hitTest(x, y)) {
        return false;
    }
    removeAllModifiers();
    resume();
    return true;
}

void DialogPause::resume() {
    if (isClosing()) {
        return;
    }
    SoundManager* sound = SoundManager::getInstance();
    if (isSoundEnabled() && sound != nullptr) {
        // Unmuting gives the effects their volume and the music its own.
        sound->setMuted(false);
        fadeMusicTo(1.0F);
        if (sound->getCurrent() != nullptr) {
            if (sound->isCrossFading()) {
                sound->finishCrossFade();
            }
            static_cast<void>(sound->playStream(sound->getCurrent(), nullptr, true));
        }
    }
    playDialogSound("game", "SOUND_UNPAUSE");
    justClose(this, nullptr);
    if (PlayingScreenHook* screen = getPlayingScreenHook()) {
        screen->showBoard();
    }
}

int DialogPause::onResume(void* pause, void* /*button*/) {
    static_cast<DialogPause*>(pause)->resume();
    return 0;
}

} // namespace orv
