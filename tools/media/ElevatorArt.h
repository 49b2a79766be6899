#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"

#include <filesystem>

namespace orv::media {

/// The elevator car's pictures: the cabin (walnut panelling, the host's
/// screen, the speaker, direction lanterns and alarm button in the narrow bay
/// beside it, the brass control panel), the 20 round floor buttons and the
/// place buttons (four frames each), the floor display and its rolling strip
/// of stop names, the doors, the unlock glow, the host's finger snap (15
/// frames), his blinking eyes, the speech bubble and the shine masks of the
/// buttons. `fonts` is the folder of the font packages. Adds a row to the
/// contact sheet.
void addElevatorArt(MediaSet& media, const std::filesystem::path& fonts, Gallery& sheet);

/// The elevator's sounds: the doors opening, the car's hum (a seamless
/// loop), the arrival bell and the chime of a newly opened button.
void addElevatorSounds(MediaSet& media);

} // namespace orv::media
