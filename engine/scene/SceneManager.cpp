#include "engine/scene/SceneManager.h"

#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyNode.h"
#include "engine/scene/ITransition.h"

#include <string>
#include <utility>

namespace orv {

constinit const ClassRecord SceneManager::classRecord{"SceneManager",
                                                      parentRecords<Task::classRecord>};

namespace {

SceneManager* instance = nullptr;

ITransition* asTransition(Scene* scene) {
    return dynamic_cast<ITransition*>(scene);
}

// Takes the old tooltip's listener out of `container` and puts the new one
// in front (`insertListener` moves it there when it was already in).
void moveToolTipListener(iInputListenerContainer& container, iInputListener* oldPart,
                         iInputListener* newPart) {
    container.removeListener(oldPart);
    if (newPart != nullptr) {
        container.insertListener(newPart);
    }
}

// The scene's own picture (its background) goes into the back buffer
// untranslated, under the tree its render task draws.
void drawOwnPicture(Scene& scene) {
    const GameWindow* window = GameWindow::getInstance();
    Graphics* graphics = window != nullptr ? window->getGraphics() : nullptr;
    if (graphics != nullptr && scene.isVisible()) {
        scene.render(*graphics);
    }
}

} // namespace

SceneManager* SceneManager::create() {
    if (instance == nullptr) {
        instance = new SceneManager();
        instance->addRef();
    }
    return instance;
}

SceneManager* SceneManager::getInstance() {
    return instance;
}

void SceneManager::destroyInstance() {
    if (SceneManager* manager = std::exchange(instance, nullptr)) {
        manager->release();
    }
}

SceneManager::~SceneManager() {
    previous_ = nullptr;
    current_ = nullptr;
    next_ = nullptr;
    transition_ = nullptr;
    toolTip_ = nullptr;
    scenes_.clear();
}

RefPtr<Scene> SceneManager::buildScene(std::string_view name) const {
    const std::string sceneName(name);
    const AbstractProperty* child = getDefinitionStore().getScenes()->getChild(name);
    if (child == nullptr || !child->isNode()) {
        logWarning("Scene manager: no scene definition '" + sceneName + "'");
        return nullptr;
    }
    PropertyNode* definition = asNode(getDefinitionStore().getScenes()->getChild(name));
    const RefPtr<BaseObject> made(
        ObjectFactoryContainer::get().createObject(definition->getTypeName(), definition));
    RefPtr<Scene> scene(kindCast<Scene>(made.get()));
    if (!scene) {
        logWarning("Scene manager: scene definition '" + sceneName + "' of type '" +
                   definition->getTypeName() + "' does not build a scene");
        return nullptr;
    }
    scene->setName(name);
    return scene;
}

Scene* SceneManager::addScene(std::string_view name) {
    RefPtr<Scene> scene = buildScene(name);
    if (!scene) {
        return nullptr;
    }
    Scene* added = scene.get();
    scenes_[std::string(name)] = std::move(scene);
    return added;
}

Scene* SceneManager::getScene(std::string_view name) const {
    const auto found = scenes_.find(std::string(name));
    return found != scenes_.end() ? found->second.get() : nullptr;
}

Scene* SceneManager::getCurrentScene() const {
    if (const ITransition* transition = asTransition(current_.get())) {
        return transition->getTarget();
    }
    return current_.get();
}

void SceneManager::setNextScene(Scene* scene) {
    next_ = scene;
}

bool SceneManager::setTransition(std::string_view name) {
    RefPtr<Scene> scene = buildScene(name);
    if (!scene) {
        return false;
    }
    if (asTransition(scene.get()) == nullptr) {
        logWarning("Scene manager: scene '" + std::string(name) +
                   "' is no transition; the next switch is direct");
        return false;
    }
    transition_ = std::move(scene);
    return true;
}

void SceneManager::setToolTip(AbstractToolTip* toolTip) {
    if (toolTip == toolTip_.get()) {
        return;
    }
    if (toolTip != nullptr) {
        Scene* shown = next_ ? next_.get() : current_.get();
        if (shown != nullptr) {
            toolTip->setRoot(shown->getDialogLayer());
        }
    }
    iInputListener* oldPart = toolTip_.get();
    for (const auto& [name, scene] : scenes_) {
        moveToolTipListener(scene->getListenerContainer(), oldPart, toolTip);
        for (const auto& [dialogName, dialog] : scene->getDialogMap()) {
            moveToolTipListener(dialog->getListenerContainer(), oldPart, toolTip);
        }
    }
    toolTip_ = toolTip;
}

void SceneManager::run(int elapsedMs) {
    // Retired scenes leave, unless they are still being shown.
    std::erase_if(scenes_, [](const auto& entry) {
        return entry.second->hasRemovalMark() && entry.second->getState() != SceneState::Current;
    });

    if (!current_) {
        if (!next_) {
            return;
        }
        switchToPending();
    } else if (current_->getState() == SceneState::Current) {
        if (next_) {
            // The new scene runs from the next frame on: a scene always gets
            // one frame of its own before the next switch.
            switchToPending();
            return;
        }
        if (previous_ && previous_->getState() == SceneState::Current) {
            previous_->getListenerContainer().reset();
            previous_->hide();
            previous_->setState(SceneState::Hidden);
        }
    }

    const RefPtr<Scene> scene = current_;
    if (!scene) {
        return;
    }
    scene->getInputHandler()->run(elapsedMs);
    scene->updateSelf(elapsedMs);
    scene->getMoveTask()->run(elapsedMs);
    drawOwnPicture(*scene);
    scene->getRenderTask()->run(elapsedMs);
    if (toolTip_) {
        toolTip_->run(elapsedMs);
    }
    scene->getPurgeTask()->run(elapsedMs);
}

void SceneManager::switchToPending() {
    const RefPtr<Scene> transition = transition_;
    const bool direct = !transition || transition == current_;
    RefPtr<Scene> incoming;
    if (direct) {
        if (!next_ || next_ == current_) {
            // Reopening the scene being shown would hide it a frame later,
            // leaving it deaf: the request is dropped instead.
            next_ = nullptr;
            return;
        }
        incoming = next_;
        transition_ = nullptr;
    } else {
        asTransition(transition.get())->start(current_.get(), next_.get());
        incoming = transition;
    }
    RefPtr<Scene> old = std::move(current_);
    previous_ = old;
    current_ = incoming;
    next_ = nullptr;
    // A transition handing over has opened its target already.
    const bool handingOver = transition && old == transition;
    if (!handingOver) {
        incoming->open();
    }
    incoming->setState(SceneState::Current);
}

bool requestQuitFromCurrentScene() {
    const SceneManager* scenes = SceneManager::getInstance();
    const RefPtr<Scene> scene = scenes != nullptr ? scenes->getCurrent() : nullptr;
    if (!scene) {
        return false;
    }
    scene->onQuitRequest();
    return true;
}

bool requestQuitFromSceneShown() {
    const SceneManager* scenes = SceneManager::getInstance();
    if (scenes == nullptr) {
        return false;
    }
    RefPtr<Scene> scene = scenes->getCurrentScene();
    if (!scene) {
        scene = scenes->getCurrent();
    }
    if (!scene) {
        return false;
    }
    scene->onQuitRequest();
    return true;
}

void connectCloseRequest(GameWindow& window) {
    window.setCloseRequestHandler([] { return requestQuitFromSceneShown(); });
}

} // namespace orv
