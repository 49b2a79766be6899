#include "engine/scene/Scene.h"

#include "engine/core/GameTree.h"
#include "engine/core/Log.h"
#include "engine/core/ObjectFactoryContainer.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/DefinitionStore.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/SceneManager.h"
#include "engine/system/Platform.h"

#include <algorithm>

namespace orv {

constinit const ClassRecord Scene::classRecord{"Scene", parentRecords<Dialog::classRecord>};

namespace {

SceneRefreshFunction fullScreenRefresh = nullptr;

// The window's hook list, or null without a window.
MessageHandler* windowHooks() {
    const GameWindow* window = GameWindow::getInstance();
    return window != nullptr ? window->getMessageHandler() : nullptr;
}

} // namespace

Scene::Scene(PropertyNode* definition)
    : Dialog(definition), dialogLayer_(new GameNode()), animTree_(new AnimTree("AnimationTree")),
      inputHandler_(new InputHandler()) {
    GameTree::appendChild(getComponentRoot(), dialogLayer_.get());
    renderTask_ = new RenderTask(dialogLayer_.get());
    inputHandler_->addListener(&getListenerContainer());
    moveTask_ = new MoveTask(dialogLayer_.get(), animTree_.get());
    purgeTask_ = new PurgeTask(dialogLayer_.get(), animTree_.get());
    sceneComponents_ = asVector(getDefinition()->getChild("scenecomponents"));
}

Scene::~Scene() {
    if (MessageHandler* hooks = windowHooks()) {
        hooks->removeHook(inputHandler_.get());
    }
    inputHandler_ = nullptr;
    openDialogs_.clear();
    dialogs_.clear();
    moveTask_ = nullptr;
    renderTask_ = nullptr;
    purgeTask_ = nullptr;
    sceneComponents_ = nullptr;
    dialogLayer_ = nullptr;
    animTree_ = nullptr;
}

BaseObject* Scene::createFromDefinition(PropertyNode* definition) {
    return new Scene(definition);
}

void Scene::open() {
    if (state_ == SceneState::New) {
        setBackground();
        state_ = SceneState::Hidden;
    }
    Dialog::open();
    if (const SceneManager* scenes = SceneManager::getInstance()) {
        if (AbstractToolTip* toolTip = scenes->getToolTip()) {
            toolTip->setRoot(dialogLayer_.get());
        }
    }
    if (MessageHandler* hooks = windowHooks()) {
        hooks->addHook(inputHandler_.get());
    }
    // Nothing typed or clicked while the scene was not shown reaches it.
    inputHandler_->clearQueue();
}

void Scene::close() {
    Dialog::close();
    if (MessageHandler* hooks = windowHooks()) {
        hooks->removeHook(inputHandler_.get());
    }
    purgeTask_->run(0);
}

void Scene::setBackground() {
    for (const RefPtr<AbstractProperty>& element : sceneComponents_->getElements()) {
        PropertyNode* definition = asNode(element.get());
        const RefPtr<BaseObject> made(
            definition == DUMMY_NODE ? nullptr : orv::createFromDefinition(definition));
        GameNode* node = kindCast<GameNode>(made.get());
        if (node == nullptr) {
            logWarning("Scene '" + getName() + "': scene component '" + element->getName() +
                       "' of type '" + element->getTypeName() + "' is not a node; skipped");
            continue;
        }
        addComponent(node);
    }

    const PropertyNode& source = *getDefinition();
    const AbstractProperty* key = source.getChild("scenebackground");
    if (key == nullptr || !key->isValue()) {
        return;
    }
    const std::string imageName = source.getValue("scenebackground")->getString();
    const std::string sectionName = source.getValue("section")->getString();
    Image* image = nullptr;
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        const platform::NamedMutexGuard guard(resources->getDataLock());
        image = kindCast<Image>(resources->getObject(imageName, sectionName));
        if (image != nullptr) {
            setBackground(image);
        }
    }
    if (image == nullptr) {
        logWarning("Scene '" + getName() + "': no background image '" + imageName +
                   "' in section '" + sectionName + "'");
    }
}

void Scene::onQuitRequest() {
    // What the desktop does with a close request nobody takes: the window
    // goes, and with it the program.
    if (GameWindow* window = GameWindow::getInstance()) {
        window->destroyWindow();
    }
}

Dialog* Scene::getDialog(std::string_view name, std::string_view instanceName) {
    const std::string key(instanceName.empty() ? name : instanceName);
    if (const auto found = dialogs_.find(key); found != dialogs_.end()) {
        Dialog* dialog = found->second.get();
        if (std::find(openDialogs_.begin(), openDialogs_.end(), dialog) != openDialogs_.end()) {
            closeDialog(dialog);
        }
        return dialog;
    }

    // A name the definitions lack, or a definition of another class, is a
    // fault of the data: say so and build nothing, rather than building from
    // the empty dummy or handing out an object that is no dialog.
    const AbstractProperty* child = getDefinitionStore().getDialogs()->getChild(name);
    if (child == nullptr || !child->isNode()) {
        logWarning("Scene '" + getName() + "': no dialog definition '" + std::string(name) + "'");
        return nullptr;
    }
    PropertyNode* definition = asNode(getDefinitionStore().getDialogs()->getChild(name));
    const RefPtr<BaseObject> made(
        ObjectFactoryContainer::get().createObject(definition->getTypeName(), definition));
    Dialog* dialog = kindCast<Dialog>(made.get());
    if (dialog == nullptr) {
        logWarning("Scene '" + getName() + "': dialog definition '" + std::string(name) +
                   "' of type '" + definition->getTypeName() + "' does not build a dialog");
        return nullptr;
    }
    dialogs_.emplace(key, dialog);
    return dialog;
}

Dialog* Scene::findDialog(std::string_view name) const {
    const auto found = dialogs_.find(std::string(name));
    return found != dialogs_.end() ? found->second.get() : nullptr;
}

bool Scene::isDialogOpen(std::string_view name) const {
    const Dialog* dialog = findDialog(name);
    return dialog != nullptr &&
           std::find(openDialogs_.begin(), openDialogs_.end(), dialog) != openDialogs_.end();
}

void Scene::showDialog(Dialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    const RefPtr<Dialog> keep(dialog);
    // Shown again while open, the dialog moves to the top: one entry on the
    // stack, so that one close really closes it.
    std::erase(openDialogs_, keep);
    GameTree::appendChild(dialog, dialogLayer_.get());
    openDialogs_.insert(openDialogs_.begin(), keep);
    inputHandler_->addListener(&dialog->getListenerContainer());
    dialog->open();
    refreshFullScreen(this);
}

void Scene::closeDialog(Dialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    const RefPtr<Dialog> keep(dialog);
    dialog->close();
    dialog->setRemovalMark(true);
    inputHandler_->removeListener(&dialog->getListenerContainer());
    std::erase(openDialogs_, keep);
}

void Scene::render(Graphics& graphics) {
    Image* background = getBackground();
    const Image& target = graphics.getTarget();
    if (background == nullptr || background->getWidth() < target.getWidth() ||
        background->getHeight() < target.getHeight()) {
        // Whatever the background leaves uncovered (all of the target when it
        // is missing) would still show the previous frame.
        const std::uint32_t color = graphics.getColor();
        const int alpha = graphics.getAlpha();
        graphics.setColor(0xFF000000U);
        graphics.setAlpha(255);
        graphics.clear();
        graphics.setColor(color);
        graphics.setAlpha(alpha);
    }
    if (background != nullptr) {
        graphics.copyImage(*background, 0, 0);
    }
}

void closeDialogOfCurrentScene(std::string_view name) {
    const SceneManager* scenes = SceneManager::getInstance();
    Scene* scene = scenes != nullptr ? scenes->getCurrent() : nullptr;
    if (scene == nullptr) {
        return;
    }
    const auto found = scene->dialogs_.find(std::string(name));
    if (found == scene->dialogs_.end()) {
        return;
    }
    const RefPtr<Dialog> dialog = found->second;
    scene->closeDialog(dialog.get());
    scene->dialogs_.erase(found);
}

void setFullScreenRefresh(SceneRefreshFunction refresh) {
    fullScreenRefresh = refresh;
}

void refreshFullScreen(Scene* scene) {
    if (fullScreenRefresh != nullptr) {
        fullScreenRefresh(scene);
    }
}

} // namespace orv
