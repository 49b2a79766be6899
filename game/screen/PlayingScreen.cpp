#include "game/screen/PlayingScreen.h"

#include "engine/properties/GameConstants.h"
#include "game/board/DisplayValue.h"

#include <algorithm>
#include <optional>

namespace orv {

namespace {

PlayingScreen* installedScreen = nullptr;
ScreenPlayer* installedPlayer = nullptr;

// Tokens for a run without a players' library: bounded by the constants as
// they stand when first used.
class SessionPlayer : public ScreenPlayer {
public:
    DisplayValue& getHintTokens() override {
        if (!hints_) {
            hints_.emplace(MIN_NUM_HINTS, MIN_NUM_HINTS, std::max(MIN_NUM_HINTS, MAX_NUM_HINTS));
        }
        return *hints_;
    }
    DisplayValue& getShuffleTokens() override {
        if (!shuffles_) {
            shuffles_.emplace(MIN_NUM_SHUFFLES, MIN_NUM_SHUFFLES,
                              std::max(MIN_NUM_SHUFFLES, MAX_NUM_SHUFFLES));
        }
        return *shuffles_;
    }
    int getFloorReached() const override { return 0; }
    void noteBonus(int /*claimedThisLevel*/) override {}
    void noteCombo(int /*multiplier*/) override {}

private:
    std::optional<DisplayValue> hints_;
    std::optional<DisplayValue> shuffles_;
};

} // namespace

PlayingScreen* getPlayingScreen() {
    return installedScreen;
}

void setPlayingScreen(PlayingScreen* screen) {
    installedScreen = screen;
}

ScreenPlayer& getScreenPlayer() {
    static SessionPlayer session;
    return installedPlayer != nullptr ? *installedPlayer : session;
}

void setScreenPlayer(ScreenPlayer* player) {
    installedPlayer = player;
}

} // namespace orv
