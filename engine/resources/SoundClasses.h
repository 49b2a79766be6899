#pragma once

namespace orv {

/// Registers the sound library with the engine: the object factory's create
/// function for "SoundNode", and the load functions of the "Sound" and
/// "Stream" resource kinds (`Sound::loadResource`,
/// `SoundStream::loadResource`). Start-up calls it before the resource
/// definitions are loaded; calling it again changes nothing.
void registerSoundClasses();

} // namespace orv
