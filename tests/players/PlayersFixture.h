#pragma once

#include "engine/core/RefPtr.h"
#include "engine/properties/PropertyStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::test {

/// The trophy definitions the players' tests read: three trophies only.
std::string shortTrophyFile();

/// Settings for the players' tests: the token bounds (0 to 5 shuffles, 1 to
/// 9 hints), the versions, a few texts and the short trophy definitions; a
/// temporary data folder for the players' files.
class PlayersTest : public ::testing::Test {
protected:
    PlayersTest();
    ~PlayersTest() override;

    /// A store read from `path` in `mode` (the test fails when it cannot).
    [[nodiscard]] static RefPtr<PropertyStore> readStore(const std::string& path, bool scrambled);

    TempDir temp;
};

} // namespace orv::test
