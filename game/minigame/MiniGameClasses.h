#pragma once

namespace orv {

/// Registers the create function of the hidden shooting game's dialog with
/// the object factory under "DialogKillerStones". Start-up calls it before
/// any dialog is built; calling it again changes nothing.
void registerMiniGameClasses();

} // namespace orv
