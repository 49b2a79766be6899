#pragma once

namespace orv {

/// Registers the playing screen's classes that data may name with the
/// object factory: "LabelTicker", "TimeBar", "BonusBar" and the screen
/// itself ("SceneGame"). Start-up calls it before any property file or saved
/// game is read; calling it again changes nothing.
void registerScreenClasses();

} // namespace orv
