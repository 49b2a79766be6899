#pragma once

namespace orv {

/// Registers the building's scenes and their helpers with the object
/// factory: "SceneOrvanta", "SceneSplash", "SceneLoad" and "SceneLobby". Start-up calls it before
/// the definitions load.
void registerGameSceneClasses();

} // namespace orv
