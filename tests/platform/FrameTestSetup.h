#pragma once

#include "engine/platform/DataFolders.h"
#include "engine/properties/BasicProperties.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orv::test {

/// Named settings with a game id and name, and the data and settings folders
/// inside a fresh temporary folder.
class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(setenv("XDG_DATA_HOME", home_.file("data").c_str(), 1), 0);
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", home_.file("config").c_str(), 1), 0);
        BasicProperties::create();
        BasicProperties::get()->getString("GAME_ID") = "game1";
        BasicProperties::get()->getString("GAME_NAME") = "Test Game";
        forgetDataFolders();
    }
    void TearDown() override {
        BasicProperties::destroyInstance();
        forgetDataFolders();
    }

    TempDir home_;
};

} // namespace orv::test
