#pragma once

namespace orv {

/// Registers every class of the board that data may name with the object
/// factory: "Tile", "Suit", "SideBoard", "Level", "Progression",
/// "CommandRemove", "CommandMove" and the six game types ("GameClassic",
/// "GameFreeCell", "GameSplit", "GameTriple", "GameRiver", "GameSpeed").
/// Start-up calls it before any property file or saved game is read;
/// calling it again changes nothing.
void registerBoardClasses();

} // namespace orv
