#pragma once

namespace orv {

/// Registers the classes of the players' files with the object factory:
/// "OrvantaPlayer", "HighScoreEntry" and "OrvantaScore". The players list and
/// the score tables build their entries themselves and accept only these
/// classes; the registration serves code that creates them by name. Calling
/// it again changes nothing.
void registerPlayerClasses();

} // namespace orv
