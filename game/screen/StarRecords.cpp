#include "game/screen/StarRecords.h"

namespace orv {

namespace {

bool everyRoom(const RoomLookup& lookup, bool (*test)(const RoomScore&)) {
    for (int floor = 1; floor <= kHallwayFloors; ++floor) {
        for (int room = 1; room <= kRoomsPerFloor; ++room) {
            if (!test(lookup(floor, room))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool roomHasTwoStars(const RoomScore& room) {
    return room.bestScore > room.silver && room.bestScore < room.gold;
}

bool roomHasThreeStars(const RoomScore& room) {
    return room.bestScore > room.gold;
}

bool allHallwayRoomsTwoStars(const RoomLookup& lookup) {
    return everyRoom(lookup, roomHasTwoStars);
}

bool allHallwayRoomsThreeStars(const RoomLookup& lookup) {
    return everyRoom(lookup, roomHasThreeStars);
}

} // namespace orv
