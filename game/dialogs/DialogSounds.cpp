#include "game/dialogs/DialogSounds.h"

#include "engine/resources/ResourceManager.h"
#include "engine/resources/Sound.h"
#include "engine/system/Platform.h"

namespace orv {

namespace {

DialogSoundObserver soundObserver = nullptr;

} // namespace

void playDialogSound(std::string_view section, std::string_view name) {
    if (soundObserver != nullptr) {
        soundObserver(section, name);
    }
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return;
    }
    RefPtr<Sound> sound;
    {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        sound = kindCast<Sound>(resources->getObject(name, section));
    }
    if (sound) {
        static_cast<void>(sound->play(255, 128, false));
    }
}

void setDialogSoundObserver(DialogSoundObserver observer) {
    soundObserver = observer;
}

} // namespace orv
