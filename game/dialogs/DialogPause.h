#pragma once

#include "game/dialogs/DialogOrvanta.h"

namespace orv {

/// The pause screen of the playing screen ("DIALOG_PAUSE"): it fades the
/// music out over 200 ms and then mutes every sound until the player
/// resumes, with its resume button or a click anywhere on it.
///
/// Main thread only.
class DialogPause : public DialogOrvanta {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Milliseconds of the music's fade out and in, and of the wait before
    /// the mute.
    static constexpr int kFadeMs = 200;

    explicit DialogPause(PropertyNode* definition);
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// The base's opening, "SOUND_PAUSE", the music's fade-out, and the mute
    /// after `kFadeMs`.
    void open() override;
    /// A release anywhere on the dialog resumes; the pending mute is dropped.
    bool onLeftButtonUp(int x, int y, int flags) override;
    /// Unmutes, fades the music back in, plays "SOUND_UNPAUSE", closes the
    /// dialog and shows the board. Nothing while the dialog closes already.
    void resume();

    static int onResume(void* pause, void* button);

private:
    static int onMute(void* pause, void* modifier);
};

} // namespace orv
