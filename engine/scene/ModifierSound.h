#pragma once

#include "engine/core/Modifier.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Sound.h"

#include <string_view>

namespace orv {

/// Plays a sound on its first update, then finishes at once (no wait) or
/// when the sound has had time to play (its length; nothing while sound is
/// disabled). Without a sound of its own it plays its target when the target
/// is a `SoundNode`, with the node's own volume and panning, and otherwise
/// finishes at once.
///
///     dialog->addModifier(new ModifierSound("default", "SOUND_DIALOG_SHOW", true));
///     Modifier::attachTo(delay, new ModifierSound(jingle, false));  // then what follows
class ModifierSound : public Modifier {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Looks the sound `name` of `section` up in the process-wide resource
    /// manager under its data lock, without loading it, and holds it. Not
    /// found (or no manager, or not a sound): the modifier has no sound of
    /// its own.
    ModifierSound(std::string_view section, std::string_view name, bool noWait);
    /// Holds `sound` (may be null).
    ModifierSound(Sound* sound, bool noWait);

    void update(int dtMs) override;

    [[nodiscard]] Sound* getSound() const { return sound_.get(); }
    /// Milliseconds of the sound still to wait for.
    [[nodiscard]] int getRemaining() const { return remainingMs_; }

private:
    RefPtr<Sound> sound_;
    bool started_ = false;
    bool noWait_;
    int remainingMs_ = 0;
};

} // namespace orv
