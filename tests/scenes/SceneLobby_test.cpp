#include "game/scenes/SceneLobby.h"

#include "engine/properties/BasicProperties.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// The greeting names the current player; with no player yet it ends where
// the name would have stood, without a dangling comma.
TEST(LobbyWelcome, NamesThePlayerOrEndsCleanlyWithoutOne) {
    BasicProperties::create().getTextEntry("TEXT_WELCOME_QUENBY") = L"Welcome to the Quenby,";
    EXPECT_EQ(SceneLobby::welcomeText("Ann"), L"Welcome to the Quenby, Ann");
    EXPECT_EQ(SceneLobby::welcomeText(""), L"Welcome to the Quenby");
    BasicProperties::destroyInstance();
}

} // namespace
} // namespace orv
