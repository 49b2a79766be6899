#pragma once

#include "game/dialogs/DialogOrvanta.h"

#include <string_view>

namespace orv {

class Label;

/// The trophy room's text box ("DIALOG_TROPHY_TEXT"): it grows in when a
/// trophy is hovered, fades its texts in and out, and shrinks away. It stays
/// open in its scene between uses and only changes state; each step takes
/// `INFO_DIALOGS_ANIM_TIME` ms.
///
///     box->setTexts(title, description);
///     box->show();   // grow, then fade the texts in
///     box->hide();   // fade the texts out, then shrink
class DialogTrophyText : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The box's animation states.
    enum State : int { Hidden = 0, Appearing = 1, Shown = 3, FadingOut = 4, Shrinking = 5 };

    /// Components "LABEL_HEADER" and "LABEL_TEXT"; the defined width, height
    /// and y are the box without texts. Starts invisible, centred.
    explicit DialogTrophyText(PropertyNode* definition);
    DialogTrophyText(const DialogTrophyText&) = delete;
    DialogTrophyText& operator=(const DialogTrophyText&) = delete;
    ~DialogTrophyText() override;

    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Sets both texts and sizes the box round them, keeping its lower edge
    /// where it was defined; without a description the header alone shows.
    void setTexts(std::wstring_view title, std::wstring_view description);
    /// Grows in (or brings fading texts back); nothing while appearing or shown.
    void show();
    /// Fades the texts out and shrinks; a box still appearing shrinks at
    /// once; nothing when hidden or already leaving.
    void hide();
    /// Invisible at once, scale 0, texts transparent; the state is kept.
    void hideNow();

    [[nodiscard]] int getState() const { return state_; }
    void setState(int state) { state_ = state; }

private:
    void fadeTextsIn();
    void shrink();
    static int onTextsIn(void* dialog, void* modifier);
    static int onShrunk(void* dialog, void* modifier);

    Label* header_ = nullptr;
    Label* text_ = nullptr;
    int baseHeight_ = 0;
    int baseWidth_ = 0;
    int baseY_ = 0;
    int textBaseY_ = 0;
    int state_ = Hidden;
};

} // namespace orv
