#pragma once

#include "tools/media/ContactSheet.h"
#include "tools/media/MediaSet.h"

namespace orv::media {

/// The pictures of the building's three places: the casino (green felt
/// under brass lamps), the games room (panelled walls and a billiard lamp)
/// and the roof at dusk over the city; the switches (eight frames each),
/// their shine mask, the glow strip's parts, the host's framed portrait, the
/// record panel, the layout chooser's button and lock, and the high-score
/// bar with its light. Adds a row to the contact sheet.
void addPlacesArt(MediaSet& media, Gallery& sheet);

/// The fanfare of a new high score.
void addPlacesSounds(MediaSet& media);

} // namespace orv::media
