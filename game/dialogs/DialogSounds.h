#pragma once

#include <string_view>

namespace orv {

/// Plays the sound `name` of the resource section `section` once, at full
/// volume and centred (volume 255, pan 128). Nothing when the section lacks
/// it, it is not loaded, or sound is off. Every sound of the game dialogs
/// goes through here.
void playDialogSound(std::string_view section, std::string_view name);

/// Told of every sound `playDialogSound` is asked for, played or not
/// (null for none). Lets tools and tests follow what the dialogs play.
using DialogSoundObserver = void (*)(std::string_view section, std::string_view name);
void setDialogSoundObserver(DialogSoundObserver observer);

} // namespace orv
