#pragma once

#include "engine/core/RefPtr.h"
#include "engine/platform/iGuiMethod.h"
#include "engine/scene/Dialog.h"

namespace orv {

class Image;
class PropertyNode;
class Scene;

/// The base of every game dialog: the show and hide sounds, a fade-in when
/// it opens and a fade-out when it closes, an optional darkened full-screen
/// backdrop ("dodarkenbackground"), word to the playing screen that a dialog
/// covers it (through the installed `PlayingScreenHook`), and an after-close
/// callback. Built by class name from the "dialogs" definitions.
///
///     auto* info = static_cast<DialogOrvanta*>(scene->getDialog("DIALOG_LEVEL_INFO"));
///     info->setAfterClose(&State::onInfoClosed, state);   // once, after the fade-out
///     scene->showDialog(info);                             // fades in, input off meanwhile
///     ...
///     DialogOrvanta::close(info);   // fades out, leaves the scene's map, then the callback
///
/// The dialog's face `iGuiMethod` is the after-close slot: adding the dialog
/// to a listener container with a callback sets it too. Times are
/// milliseconds (`DIALOG_FADE_TIME`). Main thread only.
class DialogOrvanta : public Dialog, public iGuiMethod {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The dialog part from `definition`; darkenBackground from its Boolean
    /// "dodarkenbackground" (false when missing).
    explicit DialogOrvanta(PropertyNode* definition);
    DialogOrvanta(const DialogOrvanta&) = delete;
    DialogOrvanta& operator=(const DialogOrvanta&) = delete;
    ~DialogOrvanta() override;

    /// The object factory's create function for "DialogOrvanta".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Answers `iGuiMethod` with the after-close slot, else as a dialog.
    void* getInterface(const ClassRecord& interfaceRecord) override;

    /// `Scene::showDialog` calls it: the dialog's opening, word to the
    /// playing screen when it is the scene being shown, the show sound, the
    /// backdrop, the fade-in (input off until it has ended).
    void open() override;
    /// The scene's hide slot (`Scene::closeDialog` calls it): tells the
    /// playing screen that the dialog has gone, then the components' input
    /// off. Game code closes dialogs with the static `close` instead.
    void close() override;
    /// The one way game code closes a game dialog: input off at once, the
    /// hide sound, a fade-out over `DIALOG_FADE_TIME`, then the dialog leaves
    /// the scene that shows it (and its dialog map, so the next request
    /// builds it anew) and the after-close callback runs, once, as
    /// function(context, dialog). A dialog already closing is left alone, so
    /// a second close does nothing. Null does nothing.
    static void close(DialogOrvanta* dialog);
    /// Closes the dialog at once, without a fade: it leaves its scene and
    /// that scene's map now and the after-close callback runs now. For
    /// dialogs whose scene is about to be left. Null does nothing.
    static void closeAtOnce(DialogOrvanta* dialog);
    /// A button callback (context: the dialog) that only closes: the
    /// after-close context becomes the dialog, then `close`.
    static int justClose(void* dialog, void* button);

    /// Sets the after-close callback (null function for none). The context
    /// is borrowed and must live until the callback has run.
    void setAfterClose(GuiFunction function, void* context) { setMethod(function, context); }
    /// Repaints the full-screen veil of a darkened dialog: black at
    /// `DIALOG_BACKGROUND_ALPHA`, with the dialog's frame laid over it under its
    /// components. Nothing for a dialog without a darkened backdrop.
    virtual void paintBackdrop();

    [[nodiscard]] bool getPlaySounds() const { return playSounds_; }
    void setPlaySounds(bool play) { playSounds_ = play; }
    [[nodiscard]] bool getDarkenBackground() const { return darkenBackground_; }
    void setDarkenBackground(bool darken) { darkenBackground_ = darken; }
    [[nodiscard]] bool getNotifyGameScene() const { return notifyGameScene_; }
    void setNotifyGameScene(bool notify) { notifyGameScene_ = notify; }
    [[nodiscard]] bool getAnimateShow() const { return animateShow_; }
    void setAnimateShow(bool animate) { animateShow_ = animate; }
    /// True from `close` until the dialog is opened again.
    [[nodiscard]] bool isClosing() const { return closing_; }
    /// The frame kept under the veil of a darkened dialog; null otherwise.
    [[nodiscard]] Image* getBackdrop() const { return backdrop_.get(); }

    /// Turns input on for the components and the dialog's own listener part
    /// (or off), as a fade does.
    void setAllInput(bool enabled);

protected:
    /// The fade-in of `open`: buffered drawing, input off, alpha 0, a
    /// blocking fade to 255, then buffered drawing off and input on.
    void fadeIn();
    /// The scene the player sees (a running transition's target), or null.
    [[nodiscard]] static Scene* getShownScene();
    /// True when `scene` is the playing screen.
    [[nodiscard]] static bool isPlayingScreen(const Scene* scene);

private:
    void captureBackdrop();
    void beginClose();
    // Takes the dialog off the scene that shows it and out of that scene's
    // map when the entry there is this very dialog.
    void leaveScene();
    static int onShowSound(void* dialog, void* modifier);
    static int onHideSound(void* dialog, void* modifier);
    static int onFadeInDone(void* dialog, void* modifier);
    static int onFadeOutDone(void* dialog, void* modifier);
    static int onAfterClose(void* dialog, void* modifier);

    bool playSounds_ = true;
    bool darkenBackground_ = false;
    RefPtr<Image> backdrop_;
    bool notifyGameScene_ = true;
    bool animateShow_ = true;
    bool closing_ = false;
    bool veiled_ = false;
};

} // namespace orv
