#pragma once

#include <string>

namespace orv {

/// The picture behind the board: a resource name and its section.
struct BackgroundPicture {
    std::string name;
    std::string section;
};

/// The background a level of game type `gameType` (0 to 5) is played on
/// for a player whose background choice is `choice`: the game type's own
/// picture ("BACKGROUND" + type + 1, section "game") for choice 0, else the
/// chosen picture ("BACKGROUND_CUSTOM" + choice, section "manual"). A
/// choice outside 1 to 10 (a damaged profile) reads as 0; a game type
/// outside 0 to 5 has no own picture (empty name).
[[nodiscard]] BackgroundPicture chooseBackground(int gameType, int choice);

} // namespace orv
