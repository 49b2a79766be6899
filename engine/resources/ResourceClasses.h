#pragma once

namespace orv {

/// Registers the create functions of the resource kinds with the object
/// factory: "Image", "Sound", "Stream" and "Font", the type names of the
/// objects in the resource definitions. Start-up calls it before
/// `ResourceManager::loadDefinitions`; calling it again changes nothing.
void registerResourceClasses();

} // namespace orv
