#pragma once

namespace orv {

/// Registers every class of the board that data may name with the object
/// factory: "Tile", "Suit", "SideBoard", "Level", "Progression",
/// "CommandRemove", "CommandMove" and the game types ("GameClassic"; the
/// other types register with their own library's function). Start-up calls it before any
/// property file or saved game is read; calling it again changes nothing.
void registerBoardClasses();

} // namespace orv
