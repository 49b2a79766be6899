#include "game/scenes/SceneLoad.h"

#include "engine/core/ObjectFactoryContainer.h"
#include "engine/core/RandomGenerator.h"
#include "engine/gui/Button.h"
#include "engine/gui/WidgetSupport.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyVector.h"
#include "engine/resources/ResourceManager.h"
#include "engine/resources/SoundManager.h"
#include "engine/scene/ModifierBlink.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionScene.h"
#include "engine/system/Platform.h"
#include "game/scenes/LightSweep.h"

#include <algorithm>
#include <cmath>

namespace orv {

constinit const ClassRecord SceneLoad::classRecord{"SceneLoad",
                                                   parentRecords<SceneOrvanta::classRecord>};

namespace {

constexpr const char* kPartnersFile = "media/properties/partners.xml";
// The main thread's pause per loading frame, so the loader gets the
// processor.
constexpr std::uint32_t kLoadingPauseMs = 100;

int shineTimer = 0;

void setCursor(int kind) {
    if (GameWindow* window = GameWindow::getInstance()) {
        window->setCursor(kind);
    }
}

} // namespace

SceneLoad::SceneLoad(PropertyNode* definition) : SceneOrvanta(definition) {}

BaseObject* SceneLoad::createFromDefinition(PropertyNode* definition) {
    return new SceneLoad(definition);
}

int SceneLoad::getShineTimer() {
    return shineTimer;
}

void SceneLoad::setShineTimer(int ms) {
    shineTimer = ms;
}

int SceneLoad::barWidth(double fraction, double start, int width) {
    if (start >= 1.0) {
        return width;
    }
    const double share = (fraction - start) / (1.0 - start);
    const int shown = static_cast<int>(share * width);
    return std::clamp(shown, 0, width);
}

void SceneLoad::setBackground() {
    Scene::setBackground();
    ResourceManager* resources = ResourceManager::getInstance();
    SoundManager* sound = SoundManager::getInstance();
    if (resources != nullptr && sound != nullptr && platform::isAudioEnabled()) {
        auto* music = kindCast<SoundStream>(resources->getLoadedObject("MUSIC_QUENBY", "music"));
        if (music != nullptr && sound->getCurrent() != music) {
            sound->finishCrossFade();
            static_cast<void>(sound->playStream(music, nullptr, true));
        }
    }
    if (resources != nullptr) {
        resources->cancelSection("splash", false);
    }
    if (SceneManager* manager = SceneManager::getInstance()) {
        if (Scene* splash = manager->getScene("SCENE_SPLASH")) {
            splash->setRemovalMark(true);
        }
    }
    addPartners();

    loadingText_ = kindCast<Sprite>(findComponent("LOADING_TEXT"));
    clickText_ = kindCast<Sprite>(findComponent("CLICK_TEXT"));
    progressBar_ = kindCast<Sprite>(findComponent("PROGRESS_BAR"));
    setBarWidth(0);
    static_cast<void>(bindComponent("CLICK_TEXT", &SceneLoad::onClickText, this));
    backgroundLogo_ = kindCast<Sprite>(findComponent("BACKGROUND_LOGO"));
    logo_ = kindCast<Sprite>(findComponent("LOGO"));
    if (backgroundLogo_ != nullptr) {
        backgroundLogo_->addModifier(new ModifierBlink(255, 0, 500, 500, 0, 500, -1));
    }
}

void SceneLoad::addPartners() {
    if (!platform::pathExists(kPartnersFile)) {
        return;
    }
    RefPtr<PropertyStore> partners(new PropertyStore());
    partners->setAccessMode(ArchiveMode::File);
    if (!partners->load(kPartnersFile)) {
        return;
    }
    AbstractProperty* list = partners->getChild("partners");
    if (list == nullptr || !list->isVector()) {
        return;
    }
    auto* vector = static_cast<PropertyVector*>(list);
    for (std::size_t i = 0; i < vector->size(); ++i) {
        auto* element = asNode(vector->at(i));
        if (element == nullptr) {
            continue;
        }
        RefPtr<BaseObject> object(
            ObjectFactoryContainer::get().createObject(element->getTypeName(), element));
        auto* node = kindCast<GameNode>(object.get());
        if (node == nullptr) {
            continue;
        }
        addComponent(node);
        if (auto* button = kindCast<Button>(node)) {
            // Partners' buttons see the clicks before the screen itself.
            getListenerContainer().insertListener(button);
        }
    }
}

void SceneLoad::setBarWidth(int width) {
    if (progressBar_ == nullptr) {
        return;
    }
    progressBar_->setClipRect(
        progressBar_->getX() - static_cast<int>(progressBar_->getAnchorOffsetX()),
        progressBar_->getY() - static_cast<int>(progressBar_->getAnchorOffsetY()), width,
        progressBar_->getHeight());
}

void SceneLoad::updateSelf(int elapsedMs) {
    SceneOrvanta::updateSelf(elapsedMs);
    updateShine(elapsedMs);
    if (!loadingDone_) {
        if (TransitionScene::isLoadingDone()) {
            loadingFinished();
            return;
        }
        platform::sleepMilliseconds(kLoadingPauseMs);
        ResourceManager* resources = ResourceManager::getInstance();
        const double fraction = resources != nullptr ? resources->getProgress() : 1.0;
        if (startFraction_ < 0.0F) {
            startFraction_ = static_cast<float>(fraction);
        }
        if (progressBar_ != nullptr) {
            setBarWidth(barWidth(fraction, startFraction_, progressBar_->getWidth()));
        }
    }
    if (loadingDone_ && clickPending_) {
        static_cast<void>(onLeftButtonUp(0, 0, 0));
        clickPending_ = false;
    }
}

void SceneLoad::loadingFinished() {
    loadingDone_ = true;
    widget::playSound("SceneLoad", "SOUND_LOADING_COMPLETE", "default");
    setCursor(3);
    if (progressBar_ != nullptr) {
        setBarWidth(progressBar_->getWidth());
    }
    if (loadingText_ != nullptr) {
        loadingText_->setVisible(false);
    }
    if (clickText_ != nullptr) {
        clickText_->setVisible(true);
        clickText_->addModifier(new ModifierBlink(255, 128, 300, 600, 0, 300, -1));
    }
}

void SceneLoad::updateShine(int elapsedMs) {
    if (!loadingDone_) {
        return;
    }
    shineTimer -= elapsedMs;
    if (shineTimer > 0) {
        return;
    }
    shineTimer = Random::nextInt(0, 3000) + 1000;
    ResourceManager* resources = ResourceManager::getInstance();
    if (logo_ == nullptr || resources == nullptr) {
        return;
    }
    auto* band = kindCast<Image>(resources->getObject("SHINE", "default"));
    if (band == nullptr) {
        return;
    }
    // Across the logo from left to right, lighting only the logo.
    const int left = -static_cast<int>(logo_->getAnchorOffsetX());
    const int top = -static_cast<int>(logo_->getAnchorOffsetY());
    LightSweep sweep;
    sweep.image = band;
    sweep.alpha = 200;
    sweep.fromX = left - band->getWidth();
    sweep.fromY = top + (logo_->getHeight() - band->getHeight()) / 2;
    sweep.toX = left + logo_->getWidth();
    sweep.toY = sweep.fromY;
    sweep.durationMs = 1000;
    sweep.clip = Rect{left, top, logo_->getWidth(), logo_->getHeight()};
    // Only the emblem shines, not the background around its round edge.
    sweep.mask = logo_->getImage();
    sweep.maskX = left;
    sweep.maskY = top;
    static_cast<void>(startLightSweep(*logo_, sweep));
}

bool SceneLoad::onLeftButtonUp(int /*x*/, int /*y*/, int /*flags*/) {
    if (!loadingDone_) {
        clickPending_ = true;
        return false;
    }
    SceneManager* manager = SceneManager::getInstance();
    if (manager == nullptr || manager->getNext() != nullptr ||
        manager->getTransition() != nullptr) {
        return false;
    }
    widget::playSound("SceneLoad", "SOUND_BUTTON", "default");
    setCursor(2);
    static_cast<void>(manager->setTransition("TRANSITION_DEFAULT"));
    manager->setNextScene(manager->getScene("SCENE_LOBBY"));
    return false;
}

int SceneLoad::onClickText(void* scene, void* /*button*/) {
    static_cast<void>(static_cast<SceneLoad*>(scene)->onLeftButtonUp(0, 0, 0));
    return 0;
}

} // namespace orv
