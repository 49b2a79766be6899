#pragma once

namespace orv {

/// Registers every class of the board that data may name with the object
/// factory: "Tile", "Suit", "SideBoard", and as they exist the levels,
/// progressions, commands and game types. Start-up calls it before any
/// property file or saved game is read; calling it again changes nothing.
void registerBoardClasses();

} // namespace orv
