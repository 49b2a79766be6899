#pragma once

#include <string>

namespace orv {

/// The numbers of the places a level belongs to (a level's `gameMode`, the
/// values of `Place`), for the rules below that take a place as a number.
enum PlaceNumber : int { PlaceHallway = 0, PlaceCasino = 1, PlaceRecRoom = 2, PlaceRoof = 3 };

/// What a hint or a shuffle costs in a place.
enum class PlayPrice {
    Token,     ///< one of the player's tokens (the hallway)
    ClockTime, ///< the clock runs on (the recreation room's hints)
    LevelTime, ///< the time bar loses time (casino, roof; shuffles outside the hallway)
};

/// What the screen knows when the player asks for a hint or a shuffle.
struct PlayMoment {
    int place = PlaceHallway;
    int tokens = 0;            ///< the player's hint or shuffle tokens
    int timeLeftMs = 0;        ///< the time bar's current time
    int pauseState = 0;        ///< not 0 while a dialog or a pause holds the board
    bool tutorialHeld = false; ///< an open tutorial bubble holds the game
    bool hintShown = false;    ///< a hint or super hint is marked already
    int tilesLeft = 0;         ///< tiles still on the layout
};

/// How a hint is paid for in `place`: tokens in the hallway, clock time in
/// the recreation room, level time elsewhere.
[[nodiscard]] PlayPrice hintPrice(int place);
/// Whether a hint may be looked for: nothing while paused, held by a
/// tutorial or with a hint shown; in the hallway only with a token, in the
/// casino and on the roof only with at least `penaltyMs` of level time.
[[nodiscard]] bool mayBuyHint(const PlayMoment& moment, int penaltyMs);
/// Whether a shuffle may start: never while paused, held or with an empty
/// layout; in the hallway only with a token, elsewhere only with at least
/// `penaltyMs` of level time.
[[nodiscard]] bool mayShuffle(const PlayMoment& moment, int penaltyMs);

/// How a stuck board is offered a way out.
struct StuckOffer {
    bool dialog = false; ///< a yes/no dialog; else the shuffle button glows
    std::string header;  ///< text identifiers of the dialog
    std::string text;
    std::string yesButton;
    std::string noButton;
    int noAction = 0; ///< 1 shuffle, 2 undo (yes always restarts: 0)
};
/// The stuck reaction of `place`: restart or shuffle in the hallway, restart
/// or undo in the recreation room, the glowing shuffle button in the casino
/// and on the roof (and in any unknown place).
[[nodiscard]] StuckOffer stuckOffer(int place);
/// Whether the stuck dialog's second button is usable: only with `allowSecond`
/// and, for a shuffle, with a shuffle token left.
[[nodiscard]] bool stuckSecondEnabled(const StuckOffer& offer, bool allowSecond, int shuffleTokens);

/// The text identifier beside the matches count: the Triple words for game
/// type 3, the plain ones otherwise; "ZERO", "ONE" or "PLURAL" by `matches`.
[[nodiscard]] std::string matchesTextId(int gameType, int matches);
/// The matches count under its word: the number, or nothing at 0, where the
/// word alone says it ("No matches").
[[nodiscard]] std::wstring matchesCountText(int matches);

} // namespace orv
