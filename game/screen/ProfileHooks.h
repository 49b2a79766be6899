#pragma once

#include "game/dialogs/DialogHooks.h"
#include "game/screen/PlayingScreen.h"

#include <memory>

namespace orv {

class OrvantaPlayer;

/// The current player of the player manager as the playing screen's
/// `ScreenPlayer`: the profile's tokens, highest floor and bonus and combo
/// statistics. Without a manager or a current player it keeps tokens of its
/// own for the session. The program installs one at start-up
/// (`setScreenPlayer`) and removes it at exit.
class ProfileScreenPlayer : public ScreenPlayer {
public:
    ProfileScreenPlayer();
    ~ProfileScreenPlayer() override;

    DisplayValue& getHintTokens() override;
    DisplayValue& getShuffleTokens() override;
    int getFloorReached() const override;
    /// The player's bonus total grows by one; the best count of one level
    /// is kept.
    void noteBonus(int claimedThisLevel) override;
    /// The highest multiplier reached is kept.
    void noteCombo(int multiplier) override;

private:
    struct Session;
    std::unique_ptr<Session> session_;
};

/// The current player of the player manager as the dialogs' `PlayerHook`.
/// The program installs one at start-up (`setPlayerHook`).
class ProfilePlayerHook : public PlayerHook {
public:
    std::optional<std::wstring> getPlayerName() override;
    std::optional<bool> getShowHints() override;
    void setShowHints(bool show) override;
    BestResult getBest(const Level& level) override;
    bool isBestBetweenSilverAndGold(const Level& level) override;
};

/// The player's best for `level`'s place: the room's best score and time in
/// the hallway, the level's best time in the recreation room, the best score
/// of the casino's type and difficulty or of the roof's kind and difficulty.
/// Numbers outside the records give no best.
[[nodiscard]] BestResult bestFor(OrvantaPlayer& player, const Level& level);

/// The current player's profile, or null. Borrowed from the player manager.
[[nodiscard]] OrvantaPlayer* currentProfile();

} // namespace orv
