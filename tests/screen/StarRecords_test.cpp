#include "game/screen/StarRecords.h"

#include <gtest/gtest.h>

#include <array>

namespace orv {
namespace {

TEST(StarRecords, RoomStarsLieStrictlyBetweenTheGoals) {
    struct Case {
        int best;
        bool two;
        bool three;
    };
    // Silver 1000, gold 2000.
    const std::array<Case, 5> cases{{{1000, false, false},
                                     {1001, true, false},
                                     {2000, false, false},
                                     {2001, false, true},
                                     {0, false, false}}};
    for (const Case& c : cases) {
        const RoomScore room{c.best, 1000, 2000};
        EXPECT_EQ(roomHasTwoStars(room), c.two) << c.best;
        EXPECT_EQ(roomHasThreeStars(room), c.three) << c.best;
    }
}

TEST(StarRecords, AllRoomTestsNeedEveryHallwayRoom) {
    const auto everyRoom = [](int best) {
        return [best](int /*floor*/, int /*room*/) {
            return RoomScore{best, 1000, 2000};
        };
    };
    EXPECT_TRUE(allHallwayRoomsTwoStars(everyRoom(1500)));
    EXPECT_FALSE(allHallwayRoomsThreeStars(everyRoom(1500)));
    EXPECT_TRUE(allHallwayRoomsThreeStars(everyRoom(2500)));

    // Gold in some rooms and silver in the others passes neither test; so
    // does a single room on the last floor left at its gold.
    const auto mixed = [](int floor, int /*room*/) {
        return RoomScore{floor % 2 == 0 ? 2500 : 1500, 1000, 2000};
    };
    EXPECT_FALSE(allHallwayRoomsTwoStars(mixed));
    EXPECT_FALSE(allHallwayRoomsThreeStars(mixed));
    const auto lastAtGold = [](int floor, int room) {
        return RoomScore{floor == 20 && room == 5 ? 2000 : 2500, 1000, 2000};
    };
    EXPECT_FALSE(allHallwayRoomsThreeStars(lastAtGold));
}

} // namespace
} // namespace orv
