#pragma once

// Buttons built from definitions as the game builds them: a four-frame strip
// and a small hit mask in an image section, three sounds in a sound section
// (each with its own level, so the mixed output tells which one played), all
// loaded from files the fixture writes into a temporary current folder.

#include "engine/core/RefPtr.h"
#include "engine/gui/Button.h"
#include "engine/properties/PropertyStore.h"
#include "tests/resources/SoundTestOutput.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::test {

/// Levels of the three sounds: click, disabled click, pointer over.
inline constexpr int kClickLevel = 1000;
inline constexpr int kDeniedLevel = 3000;
inline constexpr int kOverLevel = 9000;

/// The strip is 40 x 80 (four frames of 40 x 20). Its alpha by column: 128
/// left of x 10, 129 up to x 20, 255 beyond. The mask is 20 x 10: 128 left
/// of x 10, 129 beyond.
inline constexpr int kStripWidth = 40;
inline constexpr int kStripHeight = 80;

/// Records every callback: its context must be the recorder itself.
struct FireRecorder {
    int fired = 0;
    Button* last = nullptr;
    std::vector<std::string> order; ///< shared with other observers (link openings)
    static int onFire(void* context, void* argument);
};

class ButtonTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// The definition `id` built through the object factory (null when it
    /// is not a button).
    [[nodiscard]] RefPtr<Button> build(const char* id);
    /// The level of the sounds started since the last call (0: none); lets
    /// them play out.
    [[nodiscard]] int soundsPlayed();
    CurrentFolder folder;
    MixerOutput output;
    RefPtr<PropertyStore> definitions{new PropertyStore()};
    LogCapture log;
};

} // namespace orv::test
