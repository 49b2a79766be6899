#pragma once

#include "game/dialogs/DialogOrvanta.h"

#include <string_view>

namespace orv {

class Label;

/// The small text box over the trophy room's building ("DIALOG_ROOM_INFO"):
/// it grows in about its middle, fades its text in, and on request fades the
/// text out and shrinks away. No buttons and no sounds; the trophy room
/// drives it every frame. Each step takes `INFO_DIALOGS_ANIM_TIME` ms.
///
///     box->setText(L"Room 12: won");   // the box is 25 pixels wider than the text
///     box->show();                      // grow, then the text fades in
///     box->hide();                      // the text fades out, then shrink
class DialogRoomInfo : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The box's animation states.
    enum State : int { Hidden = 0, Appearing = 1, Shown = 3, FadingOut = 4, Shrinking = 5 };
    /// Pixels the box is wider than its text.
    static constexpr int kMargin = 25;

    /// Component "LABEL_TEXT"; starts invisible, centred, unrotated.
    explicit DialogRoomInfo(PropertyNode* definition);
    DialogRoomInfo(const DialogRoomInfo&) = delete;
    DialogRoomInfo& operator=(const DialogRoomInfo&) = delete;
    ~DialogRoomInfo() override;

    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// Sets and lays out the text; the box becomes the text's width plus 25.
    void setText(std::wstring_view text);
    /// Grows in (or brings a fading text back); nothing while appearing or
    /// shown, so it may be called every frame.
    void show();
    /// Fades the text out and shrinks (a box still appearing shrinks at
    /// once); nothing when hidden or leaving already.
    void hide();
    /// Invisible at once, scale 0, the text transparent, state hidden.
    void putAway();

    [[nodiscard]] int getState() const { return state_; }
    [[nodiscard]] Label* getLabel() const { return text_; }

private:
    void centreComponents();
    void fadeTextIn();
    void shrink();

    Label* text_ = nullptr;
    int state_ = Hidden;
};

} // namespace orv
