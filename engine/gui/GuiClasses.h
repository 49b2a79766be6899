#pragma once

namespace orv {

/// Registers the create functions of the widget library with the object
/// factory: "Button", "URLButton", "Switch", "Slider", "InputLabel",
/// "DialogPainter", "ToolTip" and "ToolTipLabel". Start-up calls it before
/// any dialog or scene definition is built; calling it again changes nothing.
void registerGuiClasses();

} // namespace orv
