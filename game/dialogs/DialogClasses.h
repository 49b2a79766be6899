#pragma once

namespace orv {

/// Registers the create functions of the game dialogs with the object
/// factory under their class names: "DialogOrvanta", "DialogYesNo",
/// "DialogBrastowHint", "DialogLevelInfo", "DialogLevelEnd", "DialogHelp",
/// "DialogCredits", "DialogGameOver", "DialogSettings", "DialogMenu",
/// "DialogRoomMenu" and "DialogPause". Start-up calls it before any dialog
/// is built; calling it again changes nothing.
void registerDialogClasses();

} // namespace orv
