#pragma once

#include "engine/core/RefPtr.h"
#include "engine/scene/Scene.h"

#include <string>

namespace orv {

class Image;
class Sprite;
class ThresholdSprite;

/// The first scene of the program: the maker's animated logo, built from
/// layered pictures of the resource section "splash" revealed through
/// threshold masks, then the optional splash pictures beside the program
/// ("splash/splash0.jpg" or ".png", then 1, 2, ... until a number is
/// missing), then the switch to "SCENE_LOAD" through "TRANSITION_SPLASH" once
/// the section "preloading" is loaded. The optional "splash/branding.xml"
/// sets the pictures' times ("SPLASH_FADE_TIME", "SPLASH_DISPLAY_TIME") and
/// may leave the logo out ("SHOW_VANTREL_ANIMATION" false). Registered as
/// "SceneSplash". Main thread only.
class SceneSplash : public Scene {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    explicit SceneSplash(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Every frame: while ready to leave, requests "preloading" and, once it
    /// is loaded, switches to the loading screen (once).
    void updateSelf(int elapsedMs) override;
    /// The first open's setup: branding, then the logo and its timeline, or
    /// the picture phase at once when the logo is left out.
    void setBackground() override;
    using Scene::setBackground;

    /// The picture phase: the black cover over the logo (faded in after the
    /// logo, opaque at once without it), then the first picture after 200 ms.
    void beginPictures();
    /// Tries picture `getPictureCounter()`: shows it (fade in, hold, fade out,
    /// then the next) or, when there is none, leaves the scene ready to leave.
    void tryPicture();

    /// The picture file stem for number `number` ("splash/splash" + number).
    [[nodiscard]] static std::string pictureStem(int number);
    /// The picture of number `number`, relative to the working folder: the
    /// ".jpg" when it exists and decodes, else the ".png"; null when neither.
    [[nodiscard]] static RefPtr<Image> findPicture(int number);

    [[nodiscard]] bool isSkippingAnimation() const { return skipAnimation_; }
    [[nodiscard]] bool isReadyToLeave() const { return readyToLeave_; }
    [[nodiscard]] int getDisplayTime() const { return displayTime_; }
    [[nodiscard]] int getFadeTime() const { return fadeTime_; }
    [[nodiscard]] int getPictureCounter() const { return pictureCounter_; }
    /// The cover laid over the logo in the picture phase; null before.
    [[nodiscard]] Sprite* getCover() const { return cover_.get(); }
    /// The logo's root sprite; null when the logo is left out.
    [[nodiscard]] Sprite* getLogo() const { return logo_; }

    /// The callbacks of the timeline (context: the scene).
    static int onLogoDone(void* scene, void* argument);
    static int onPictureDone(void* scene, void* argument);

private:
    void readBranding();
    void buildLogo();

    bool skipAnimation_ = false;
    bool readyToLeave_ = false;
    bool leaving_ = false;
    int displayTime_ = 1700;
    int fadeTime_ = 500;
    int pictureCounter_ = 0;
    RefPtr<Sprite> cover_;
    Sprite* logo_ = nullptr;
};

} // namespace orv
