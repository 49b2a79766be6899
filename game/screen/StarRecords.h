#pragma once

#include <functional>

namespace orv {

/// A hallway room's score goals and the player's best score in it.
struct RoomScore {
    int bestScore = 0;
    int silver = 0;
    int gold = 0;
};

/// The hallway's rooms: floors 1..20, rooms 1..5 on each.
inline constexpr int kHallwayFloors = 20;
inline constexpr int kRoomsPerFloor = 5;

/// Two stars: the best score lies strictly between silver and gold.
[[nodiscard]] bool roomHasTwoStars(const RoomScore& room);
/// Three stars: the best score is strictly above gold. A best score equal to
/// a goal earns neither.
[[nodiscard]] bool roomHasThreeStars(const RoomScore& room);

/// A room's record by floor (1..20) and room (1..5).
using RoomLookup = std::function<RoomScore(int floor, int room)>;
/// Whether every hallway room has exactly two stars.
[[nodiscard]] bool allHallwayRoomsTwoStars(const RoomLookup& lookup);
/// Whether every hallway room has three stars.
[[nodiscard]] bool allHallwayRoomsThreeStars(const RoomLookup& lookup);

} // namespace orv
