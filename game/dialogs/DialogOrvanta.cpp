#include "game/dialogs/DialogOrvanta.h"

#include "engine/graphics/Graphics.h"
#include "engine/platform/GameWindow.h"
#include "engine/properties/GameConstants.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/Image.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SceneManager.h"
#include "game/dialogs/DialogHooks.h"
#include "game/dialogs/DialogSounds.h"

#include <algorithm>
#include <string>

namespace orv {

constinit const ClassRecord DialogOrvanta::classRecord{
    "DialogOrvanta", parentRecords<Dialog::classRecord, iGuiMethod::classRecord>};

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
// Channels of `Graphics::setChannelRect`.
constexpr int kAlpha = 0;
constexpr int kRed = 1;
constexpr int kGreen = 2;
constexpr int kBlue = 3;

// True when `dialog` is on `scene`'s open list.
bool isOpenIn(const Scene& scene, const Dialog* dialog) {
    const auto& open = scene.getOpenDialogs();
    return std::any_of(open.begin(), open.end(),
                       [dialog](const RefPtr<Dialog>& shown) { return shown.get() == dialog; });
}

// The key under which `scene` keeps `dialog`, or none.
std::optional<std::string> keyOf(const Scene& scene, const Dialog* dialog) {
    for (const auto& [key, kept] : scene.getDialogMap()) {
        if (kept.get() == dialog) {
            return key;
        }
    }
    return std::nullopt;
}

} // namespace

DialogOrvanta::DialogOrvanta(PropertyNode* definition) : Dialog(definition) {
    const PropertyNode& source = *getDefinition();
    if (const AbstractProperty* darken = source.getChild("dodarkenbackground");
        darken != nullptr && darken->isValue()) {
        darkenBackground_ = source.getValue("dodarkenbackground")->getBool();
    }
}

DialogOrvanta::~DialogOrvanta() = default;

BaseObject* DialogOrvanta::createFromDefinition(PropertyNode* definition) {
    return new DialogOrvanta(definition);
}

void* DialogOrvanta::getInterface(const ClassRecord& interfaceRecord) {
    if (&interfaceRecord == &iGuiMethod::classRecord) {
        return static_cast<iGuiMethod*>(this);
    }
    return Dialog::getInterface(interfaceRecord);
}

Scene* DialogOrvanta::getShownScene() {
    const SceneManager* scenes = SceneManager::getInstance();
    return scenes != nullptr ? scenes->getCurrentScene() : nullptr;
}

bool DialogOrvanta::isPlayingScreen(const Scene* scene) {
    PlayingScreenHook* screen = getPlayingScreenHook();
    return scene != nullptr && screen != nullptr && screen->getScene() == scene;
}

void DialogOrvanta::setAllInput(bool enabled) {
    getListenerContainer().setInputEnabled(enabled);
    setInputEnabled(enabled);
}

void DialogOrvanta::open() {
    Dialog::open();
    if (closing_) {
        // Shown again while it faded out: the pending close is dropped.
        removeAllModifiers();
        closing_ = false;
    }
    if (notifyGameScene_ && isPlayingScreen(getShownScene())) {
        getPlayingScreenHook()->dialogOpened(this);
    }
    if (playSounds_) {
        addModifier(new ModifierFunction(&DialogOrvanta::onShowSound, this));
    }
    if (darkenBackground_) {
        captureBackdrop();
    }
    if (animateShow_) {
        fadeIn();
    } else {
        setAllInput(true);
    }
}

void DialogOrvanta::fadeIn() {
    setUseBuffer(true);
    setAllInput(false);
    setAlpha(0);
    auto* fade = new ModifierAlpha(DIALOG_FADE_TIME, 0, 255);
    fade->setFinishFlags(Modifier::FinishHoldBack);
    addModifier(fade);
    addModifier(new ModifierFunction(&DialogOrvanta::onFadeInDone, this));
}

int DialogOrvanta::onShowSound(void* /*dialog*/, void* /*modifier*/) {
    playDialogSound("default", "SOUND_DIALOG_SHOW");
    return 0;
}

int DialogOrvanta::onHideSound(void* /*dialog*/, void* /*modifier*/) {
    playDialogSound("default", "SOUND_DIALOG_HIDE");
    return 0;
}

int DialogOrvanta::onFadeInDone(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogOrvanta*>(dialog);
    self->setUseBuffer(false);
    self->setAllInput(true);
    return 0;
}

void DialogOrvanta::captureBackdrop() {
    if (veiled_) {
        // Captured at an earlier opening: the veil is in place already.
        paintBackdrop();
        return;
    }
    refreshBuffer();
    backdrop_ = getBackground();
    setMovable(false);
    if (getPainter() != nullptr) {
        const int width = getMinWidth() > 0 ? getMinWidth() : getWidth();
        const int height = getMinHeight() > 0 ? getMinHeight() : getHeight();
        setPainter(nullptr);
        setNeedsRefresh(true);
        setWidth(width);
        setHeight(height);
    }
    getComponentRoot()->setPosition(getX(), getY());
    setPosition(0, 0);
    setAutoCenter(false);
    setWidth(kScreenWidth);
    setHeight(kScreenHeight);
    setBackground(createDisplayImage(kScreenWidth, kScreenHeight).get());
    veiled_ = true;
    paintBackdrop();
}

void DialogOrvanta::paintBackdrop() {
    Image* veil = getBackground();
    if (!veiled_ || veil == nullptr) {
        return;
    }
    if (const RefPtr<Graphics> canvas = createGraphics(*veil)) {
        // The veil's pixels are written, not blended: black, with the veil's
        // alpha as their own.
        const int width = veil->getWidth();
        const int height = veil->getHeight();
        for (const int colour : {kRed, kGreen, kBlue}) {
            canvas->setChannelRect(colour, 0, 0, 0, width, height);
        }
        canvas->setChannelRect(kAlpha, DIALOG_BACKGROUND_ALPHA, 0, 0, width, height);
        if (backdrop_) {
            // The frame is laid over the veil, not copied into it: its
            // see-through corners and soft shadow would otherwise cut an
            // undarkened box out of the veil round the dialog. The colours
            // blend over the black; the cover is the stronger of the two.
            const GameNode* root = getComponentRoot();
            canvas->drawImage(*backdrop_, root->getX(), root->getY());
            canvas->maxChannel(*backdrop_, kAlpha, root->getX(), root->getY());
        }
    }
    setNeedsRefresh(true);
    setDirty(true);
}

void DialogOrvanta::close() {
    if (PlayingScreenHook* screen = getPlayingScreenHook()) {
        screen->dialogClosed(this);
    }
    Dialog::close();
}

void DialogOrvanta::close(DialogOrvanta* dialog) {
    if (dialog != nullptr) {
        dialog->beginClose();
    }
}

void DialogOrvanta::closeAtOnce(DialogOrvanta* dialog) {
    if (dialog == nullptr) {
        return;
    }
    const RefPtr<DialogOrvanta> keep(dialog);
    dialog->closing_ = true;
    dialog->removeAllModifiers();
    dialog->setAllInput(false);
    dialog->leaveScene();
    onAfterClose(dialog, nullptr);
}

int DialogOrvanta::justClose(void* dialog, void* /*button*/) {
    auto* self = static_cast<DialogOrvanta*>(dialog);
    self->setMethod(self->getFunction(), self);
    close(self);
    return 0;
}

void DialogOrvanta::beginClose() {
    if (closing_) {
        return;
    }
    closing_ = true;
    // Whatever the opening still had running (a fade-in, a timed close)
    // must not turn input on again or close a second time.
    removeAllModifiers();
    setUseBuffer(true);
    setAllInput(false);
    if (playSounds_) {
        addModifier(new ModifierFunction(&DialogOrvanta::onHideSound, this));
    }
    auto* fade = new ModifierAlpha(DIALOG_FADE_TIME, getAlpha(), 0);
    fade->setFinishFlags(Modifier::FinishHoldBack);
    addModifier(fade);
    addModifier(new ModifierFunction(&DialogOrvanta::onFadeOutDone, this));
    if (getFunction() != nullptr) {
        addModifier(new ModifierFunction(&DialogOrvanta::onAfterClose, this));
    }
}

int DialogOrvanta::onFadeOutDone(void* dialog, void* /*modifier*/) {
    static_cast<DialogOrvanta*>(dialog)->leaveScene();
    return 0;
}

int DialogOrvanta::onAfterClose(void* dialog, void* /*modifier*/) {
    auto* self = static_cast<DialogOrvanta*>(dialog);
    const GuiFunction function = self->getFunction();
    void* context = self->getContext();
    // One call per close, even if the callback opens this dialog again.
    self->setMethod(nullptr, nullptr);
    if (function != nullptr) {
        function(context, self);
    }
    return 0;
}

void DialogOrvanta::leaveScene() {
    const SceneManager* scenes = SceneManager::getInstance();
    PlayingScreenHook* screen = getPlayingScreenHook();
    Scene* const candidates[] = {scenes != nullptr ? scenes->getCurrent() : nullptr,
                                 scenes != nullptr ? scenes->getCurrentScene() : nullptr,
                                 screen != nullptr ? screen->getScene() : nullptr};
    const RefPtr<DialogOrvanta> keep(this);
    for (Scene* scene : candidates) {
        if (scene == nullptr) {
            continue;
        }
        if (const std::optional<std::string> key = keyOf(*scene, this)) {
            if (scenes != nullptr && scene == scenes->getCurrent()) {
                closeDialogOfCurrentScene(*key);
            } else {
                scene->closeDialog(this);
            }
            return;
        }
        if (isOpenIn(*scene, this)) {
            scene->closeDialog(this);
            return;
        }
    }
}

} // namespace orv
