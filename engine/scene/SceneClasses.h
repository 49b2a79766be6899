#pragma once

namespace orv {

/// Registers the create functions of the scene library with the object
/// factory: "Sprite", "Panel", "AdditiveSprite", "Dialog", "Scene" and the
/// rest of the list. Start-up calls it before any definition is built;
/// calling it again changes nothing.
void registerSceneClasses();

} // namespace orv
