#include "game/scenes/SceneSplash.h"

#include "engine/core/AnimTree.h"
#include "engine/core/GameTree.h"
#include "engine/properties/PropertyStore.h"
#include "engine/properties/PropertyValue.h"
#include "engine/resources/ImageDecoders.h"
#include "engine/resources/ResourceManager.h"
#include "engine/scene/ModifierAlpha.h"
#include "engine/scene/ModifierDelay.h"
#include "engine/scene/ModifierFunction.h"
#include "engine/scene/ModifierScale.h"
#include "engine/scene/ModifierSound.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionScene.h"
#include "engine/system/Platform.h"
#include "game/scenes/ModifierTreshold.h"
#include "game/scenes/ThresholdSprite.h"

#include <cstdint>
#include <cstring>

namespace orv {

constinit const ClassRecord SceneSplash::classRecord{"SceneSplash",
                                                     parentRecords<Scene::classRecord>};

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr const char* kSplashSection = "splash";

// The loaded image `name` of the splash section, or null.
Image* splashImage(std::string_view name) {
    ResourceManager* resources = ResourceManager::getInstance();
    if (resources == nullptr) {
        return nullptr;
    }
    return kindCast<Image>(resources->getLoadedObject(name, kSplashSection));
}

// Where the name sits from the ring's middle.
constexpr int kWordOffsetX = 216;
constexpr int kWordOffsetY = -25;

Sprite* addSprite(GameNode* parent, std::string_view image, int x, int y, int alpha) {
    auto* sprite = new Sprite(x, y, splashImage(image));
    sprite->setAnchorPoint(AnchorKind::Center);
    // The mark's pieces are scaled as they come and go: filtered, their
    // round edges stay smooth.
    sprite->setSmooth(true);
    sprite->setAlpha(alpha);
    GameTree::appendChild(sprite, parent);
    return sprite;
}

ThresholdSprite* addThreshold(GameNode* parent, std::string_view image, std::string_view mask,
                              int x, int y) {
    auto* sprite = new ThresholdSprite(x, y);
    sprite->setMaskImage(splashImage(mask));
    sprite->setSourceImage(splashImage(image));
    sprite->setAnchorPoint(AnchorKind::Center);
    sprite->setSmooth(true);
    GameTree::appendChild(sprite, parent);
    return sprite;
}

// An opaque black picture of the screen's size in the display's format.
RefPtr<Image> blackScreen() {
    RefPtr<Image> image = createDisplayImage(kScreenWidth, kScreenHeight);
    if (!image || !image->lock()) {
        return image;
    }
    for (int y = 0; y < image->getHeight(); ++y) {
        std::uint8_t* row = image->getPixels() + y * image->getPitch();
        if (image->getFormat() == kFormatArgb32) {
            const std::uint32_t black = 0xFF000000U;
            for (int x = 0; x < image->getWidth(); ++x) {
                std::memcpy(row + x * 4, &black, sizeof black);
            }
        } else {
            std::memset(row, 0, static_cast<std::size_t>(image->getWidth()) * 2U);
        }
    }
    if (std::uint8_t* alpha = image->getAlpha()) {
        std::memset(alpha, 0xFF,
                    static_cast<std::size_t>(image->getWidth()) *
                        static_cast<std::size_t>(image->getHeight()));
    }
    image->unlock();
    return image;
}

// Chains `next` behind `previous` (null: at the root of the scene's tree)
// and returns it.
Modifier* then(AnimTree& tree, Modifier* previous, Modifier* next, GameNode* target) {
    next->setTarget(target);
    return Modifier::attachTo(previous != nullptr ? previous : &tree, next);
}

} // namespace

SceneSplash::SceneSplash(PropertyNode* definition) : Scene(definition) {}

BaseObject* SceneSplash::createFromDefinition(PropertyNode* definition) {
    return new SceneSplash(definition);
}

void SceneSplash::readBranding() {
    RefPtr<PropertyStore> branding(new PropertyStore());
    branding->setAccessMode(ArchiveMode::File);
    if (!platform::pathExists("splash/branding.xml") || !branding->load("splash/branding.xml")) {
        return;
    }
    auto intKey = [&](std::string_view key, int& field) {
        const AbstractProperty* child = branding->getChild(key);
        if (child != nullptr && child->isValue()) {
            field = asValue(child)->getInt();
        }
    };
    intKey("SPLASH_FADE_TIME", fadeTime_);
    intKey("SPLASH_DISPLAY_TIME", displayTime_);
    const AbstractProperty* show = branding->getChild("SHOW_VANTREL_ANIMATION");
    if (show != nullptr && show->isValue()) {
        skipAnimation_ = !asValue(show)->getBool();
    }
}

void SceneSplash::setBackground() {
    Scene::setBackground();
    readBranding();
    if (skipAnimation_) {
        beginPictures();
        return;
    }
    buildLogo();
}

void SceneSplash::buildLogo() {
    // The ring and the name beside it are centred on the screen together:
    // the ring's middle goes left of the centre by half the name's reach.
    Image* ring = splashImage("WHITE_CIRCLE");
    const Image* word = splashImage("VANTREL");
    const int left = ring != nullptr ? ring->getWidth() / 2 : 0;
    const int right = kWordOffsetX + (word != nullptr ? word->getWidth() / 2 : 0);
    logo_ = new Sprite(kScreenWidth / 2 - (right - left) / 2, kScreenHeight / 2, ring);
    logo_->setAnchorPoint(AnchorKind::Center);
    logo_->setSmooth(true);
    logo_->setScale(0.0F);
    addComponent(logo_);

    ThresholdSprite* green = addThreshold(logo_, "V_GREEN", "V_GREEN_MASK", 1, 1);
    ThresholdSprite* inside = addThreshold(logo_, "V_INSIDE", "V_INSIDE_MASK", 1, 1);
    Sprite* circleBlack = addSprite(logo_, "V_CIRCLE_BLACK", 1, 1, 0);
    Sprite* beamer = addSprite(logo_, "BEAMER", 1, 1, 0);
    ThresholdSprite* whiteBorder = addThreshold(logo_, "WHITE_CIRCLE", "BORDER_WHITE_MASK", 0, 1);
    ThresholdSprite* overlay = addThreshold(logo_, "V_GREEN_OVERLAY", "V_CIRCLE_BLACK_MASK", 1, 1);
    ThresholdSprite* border = addThreshold(logo_, "BORDER_BLACK", "BORDER_BLACK_MASK", 1, 1);
    ThresholdSprite* name =
        addThreshold(logo_, "VANTREL", "VANTREL_MASK", kWordOffsetX, kWordOffsetY);
    Sprite* mark = addSprite(name, "R", 90, -30, 0);
    Sprite* beamerSmall = addSprite(name, "BEAMER_SMALL", 90, -30, 0);

    AnimTree& tree = *getAnimTree();
    Modifier* step = then(tree, nullptr, new ModifierDelay(1000), logo_);
    step =
        then(tree, step, new ModifierSound(kSplashSection, "SOUND_VANTREL_SPLASH", true), nullptr);
    step = then(tree, step, new ModifierScale(300, 0.0F, 0.68F), logo_);
    step = then(tree, step, new ModifierDelay(200), logo_);
    step = then(tree, step, new ModifierTreshold(500), inside);
    step = then(tree, step, new ModifierTreshold(500), border);
    step = then(tree, step, new ModifierTreshold(500), green);
    step = then(tree, step, new ModifierTreshold(200), overlay);
    step = then(tree, step, new ModifierTreshold(500), whiteBorder);
    step = then(tree, step, new ModifierAlpha(1, 0, 255), circleBlack);
    step = then(tree, step, new ModifierAlpha(1, 0, 255), beamer);
    step = then(tree, step, new ModifierScale(300, 1.0F, 0.0F), beamer);
    step = then(tree, step, new ModifierTreshold(500), name);
    step = then(tree, step, new ModifierAlpha(1, 0, 255), beamerSmall);
    step = then(tree, step, new ModifierAlpha(1, 0, 255), mark);
    step = then(tree, step, new ModifierSound(kSplashSection, "SOUND_VANTREL", true), nullptr);
    step = then(tree, step, new ModifierScale(300, 1.0F, 0.0F), beamerSmall);
    step = then(tree, step, new ModifierDelay(2000), logo_);
    then(tree, step, new ModifierFunction(&SceneSplash::onLogoDone, this), nullptr);
}

int SceneSplash::onLogoDone(void* scene, void* /*argument*/) {
    static_cast<SceneSplash*>(scene)->beginPictures();
    return 0;
}

int SceneSplash::onPictureDone(void* scene, void* /*argument*/) {
    static_cast<SceneSplash*>(scene)->tryPicture();
    return 0;
}

void SceneSplash::beginPictures() {
    RefPtr<Image> black = blackScreen();
    cover_ = new Sprite(0, 0, black.get());
    addComponent(cover_.get());
    AnimTree& tree = *getAnimTree();
    Modifier* first = nullptr;
    if (!skipAnimation_) {
        cover_->setAlpha(0);
        first = then(tree, nullptr, new ModifierAlpha(fadeTime_, 0, 255), cover_.get());
        skipAnimation_ = true;
    } else {
        cover_->setAlpha(255);
    }
    Modifier* wait = then(tree, first, new ModifierDelay(200), cover_.get());
    then(tree, wait, new ModifierFunction(&SceneSplash::onPictureDone, this), nullptr);
}

std::string SceneSplash::pictureStem(int number) {
    return "splash/splash" + std::to_string(number);
}

RefPtr<Image> SceneSplash::findPicture(int number) {
    const std::string stem = pictureStem(number);
    if (platform::pathExists(stem + ".jpg")) {
        if (RefPtr<Image> picture = loadJpeg(stem + ".jpg", false)) {
            return picture;
        }
    }
    if (platform::pathExists(stem + ".png")) {
        return loadPngFile(stem + ".png", 0);
    }
    return nullptr;
}

void SceneSplash::tryPicture() {
    readyToLeave_ = true;
    RefPtr<Image> picture = findPicture(pictureCounter_);
    if (!picture) {
        return;
    }
    auto* sprite = new Sprite((kScreenWidth - picture->getWidth()) / 2,
                              (kScreenHeight - picture->getHeight()) / 2, picture.get());
    sprite->setAlpha(0);
    addComponent(sprite);
    AnimTree& tree = *getAnimTree();
    Modifier* step = then(tree, nullptr, new ModifierAlpha(fadeTime_, 0, 255), sprite);
    step = then(tree, step, new ModifierDelay(displayTime_), sprite);
    step = then(tree, step, new ModifierAlpha(fadeTime_, 255, 0), sprite);
    step->setFinishFlags(Modifier::FinishRemoveTarget);
    then(tree, step, new ModifierFunction(&SceneSplash::onPictureDone, this), nullptr);
    readyToLeave_ = false;
    ++pictureCounter_;
}

void SceneSplash::updateSelf(int elapsedMs) {
    Scene::updateSelf(elapsedMs);
    if (!readyToLeave_ || leaving_) {
        return;
    }
    if (ResourceManager* resources = ResourceManager::getInstance()) {
        resources->requestSection("preloading");
    }
    if (!TransitionScene::isLoadingDone()) {
        return;
    }
    SceneManager* manager = SceneManager::getInstance();
    if (manager == nullptr) {
        return;
    }
    leaving_ = true;
    static_cast<void>(manager->setTransition("TRANSITION_SPLASH"));
    manager->setNextScene(manager->getScene("SCENE_LOAD"));
}

} // namespace orv
