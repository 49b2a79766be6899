#include "game/screen/PlayRules.h"

#include <gtest/gtest.h>

#include <array>

namespace orv {
namespace {

TEST(PlayRules, HintsArePaidByPlace) {
    struct Case {
        int place;
        int tokens;
        int timeLeft;
        bool allowed;
    };
    // Penalty 5000 ms.
    const std::array<Case, 8> cases{{
        {PlaceHallway, 0, 99999, false}, // no token, no hint
        {PlaceHallway, 1, 0, true},
        {PlaceRecRoom, 0, 0, true}, // the clock pays
        {PlaceCasino, 0, 4999, false},
        {PlaceCasino, 0, 5000, true}, // exactly the penalty is enough
        {PlaceRoof, 0, 4999, false},
        {PlaceRoof, 0, 8000, true},
        {7, 0, 8000, true}, // unknown places pay with time
    }};
    for (const Case& c : cases) {
        PlayMoment moment;
        moment.place = c.place;
        moment.tokens = c.tokens;
        moment.timeLeftMs = c.timeLeft;
        EXPECT_EQ(mayBuyHint(moment, 5000), c.allowed) << c.place << " " << c.timeLeft;
    }
    EXPECT_EQ(hintPrice(PlaceHallway), PlayPrice::Token);
    EXPECT_EQ(hintPrice(PlaceRecRoom), PlayPrice::ClockTime);
    EXPECT_EQ(hintPrice(PlaceCasino), PlayPrice::LevelTime);
}

TEST(PlayRules, NothingIsBoughtWhileTheBoardIsHeld) {
    PlayMoment moment;
    moment.place = PlaceRecRoom;
    moment.tilesLeft = 10;
    moment.timeLeftMs = 100000;
    moment.tokens = 3;
    for (int field = 0; field < 3; ++field) {
        PlayMoment held = moment;
        held.pauseState = field == 0 ? 1 : 0;
        held.tutorialHeld = field == 1;
        held.hintShown = field == 2;
        EXPECT_FALSE(mayBuyHint(held, 0)) << field;
        if (field < 2) {
            EXPECT_FALSE(mayShuffle(held, 0)) << field;
        }
    }
    EXPECT_TRUE(mayShuffle(moment, 100000));
    moment.tilesLeft = 0;
    EXPECT_FALSE(mayShuffle(moment, 0));
}

TEST(PlayRules, ShufflesTakeATokenInTheHallwayAndTimeElsewhere) {
    PlayMoment moment;
    moment.tilesLeft = 4;
    moment.place = PlaceHallway;
    EXPECT_FALSE(mayShuffle(moment, 0));
    moment.tokens = 1;
    EXPECT_TRUE(mayShuffle(moment, 1000000));
    moment.place = PlaceCasino;
    moment.tokens = 0;
    moment.timeLeftMs = 15000;
    EXPECT_TRUE(mayShuffle(moment, 15000));
    EXPECT_FALSE(mayShuffle(moment, 15001));
}

TEST(PlayRules, StuckBoardOffersItsChoicesByPlace) {
    const StuckOffer hallway = stuckOffer(PlaceHallway);
    EXPECT_TRUE(hallway.dialog);
    EXPECT_EQ(hallway.text, "TEXT_STUCK_QUENBY");
    EXPECT_EQ(hallway.header, "TEXT_STUCK_QUENBY_HEADER");
    EXPECT_EQ(hallway.noButton, "STUCK_BUTTON_SHUFFLE");
    EXPECT_TRUE(stuckSecondEnabled(hallway, true, 1));
    EXPECT_FALSE(stuckSecondEnabled(hallway, true, 0));  // no shuffle token
    EXPECT_FALSE(stuckSecondEnabled(hallway, false, 5)); // after a shuffle left nothing

    const StuckOffer recroom = stuckOffer(PlaceRecRoom);
    EXPECT_TRUE(recroom.dialog);
    EXPECT_EQ(recroom.text, "TEXT_STUCK_RECROOM");
    EXPECT_EQ(recroom.noButton, "STUCK_BUTTON_UNDO");
    EXPECT_EQ(recroom.noAction, 2);
    EXPECT_TRUE(stuckSecondEnabled(recroom, true, 0));

    for (const int place : {PlaceCasino, PlaceRoof}) {
        EXPECT_FALSE(stuckOffer(place).dialog) << place; // the shuffle button glows
    }
}

TEST(PlayRules, MatchesWordsFollowCountAndGameType) {
    EXPECT_EQ(matchesTextId(0, 0), "TEXT_MATCHES_ZERO");
    EXPECT_EQ(matchesTextId(4, 1), "TEXT_MATCHES_ONE");
    EXPECT_EQ(matchesTextId(1, 2), "TEXT_MATCHES_PLURAL");
    EXPECT_EQ(matchesTextId(3, 0), "TEXT_TRIPLE_MATCHES_ZERO");
    EXPECT_EQ(matchesTextId(3, 1), "TEXT_TRIPLE_MATCHES_ONE");
    EXPECT_EQ(matchesTextId(3, 9), "TEXT_TRIPLE_MATCHES_PLURAL");
    // The count says nothing where the word says "No matches".
    EXPECT_EQ(matchesCountText(0), L"");
    EXPECT_EQ(matchesCountText(1), L"1");
    EXPECT_EQ(matchesCountText(12), L"12");
}

} // namespace
} // namespace orv
