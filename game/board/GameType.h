#pragma once

#include <array>
#include <string_view>

namespace orv {

/// The six ways a level can be played. The numbers are those of the level
/// files, the saved games and the player's statistics; they never change.
enum class GameType : int {
    Invalid = -1,
    Classic = 0,
    FreeCell = 1,
    Split = 2,
    Triple = 3,
    River = 4,
    Speed = 5,
};

/// How the level files name the game types, by number (matched exactly,
/// case included).
inline constexpr std::array<std::string_view, 6> kGameTypeNames{"Classic", "Freecell", "Split",
                                                                "Triple",  "River",    "Speed"};

/// The class each game type is registered and saved under, by number.
inline constexpr std::array<std::string_view, 6> kGameClassNames{
    "GameClassic", "GameFreeCell", "GameSplit", "GameTriple", "GameRiver", "GameSpeed"};

/// The game type of number `number`, or `Invalid` outside 0 to 5.
[[nodiscard]] constexpr GameType gameTypeFromNumber(int number) {
    return number >= 0 && number < static_cast<int>(kGameTypeNames.size())
               ? static_cast<GameType>(number)
               : GameType::Invalid;
}

[[nodiscard]] constexpr int toNumber(GameType type) {
    return static_cast<int>(type);
}

/// The level-file name of `type`; empty for `Invalid`.
[[nodiscard]] constexpr std::string_view gameTypeName(GameType type) {
    return type == GameType::Invalid ? std::string_view{}
                                     : kGameTypeNames.at(static_cast<std::size_t>(type));
}

/// Whether the layouts of `type` carry a side board (FreeCell's free cells,
/// the rack of twins in Split and Speed).
[[nodiscard]] constexpr bool usesSideBoard(GameType type) {
    return type == GameType::FreeCell || type == GameType::Split || type == GameType::Speed;
}

} // namespace orv
