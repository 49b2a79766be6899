#include "game/screen/PlayRules.h"

namespace orv {

PlayPrice hintPrice(int place) {
    switch (place) {
    case PlaceHallway:
        return PlayPrice::Token;
    case PlaceRecRoom:
        return PlayPrice::ClockTime;
    default:
        return PlayPrice::LevelTime;
    }
}

bool mayBuyHint(const PlayMoment& moment, int penaltyMs) {
    if (moment.pauseState != 0 || moment.tutorialHeld || moment.hintShown) {
        return false;
    }
    switch (hintPrice(moment.place)) {
    case PlayPrice::Token:
        return moment.tokens > 0;
    case PlayPrice::ClockTime:
        return true;
    case PlayPrice::LevelTime:
        return moment.timeLeftMs >= penaltyMs;
    }
    return false;
}

bool mayShuffle(const PlayMoment& moment, int penaltyMs) {
    if (moment.pauseState != 0 || moment.tutorialHeld || moment.tilesLeft < 1) {
        return false;
    }
    if (moment.place == PlaceHallway) {
        return moment.tokens > 0;
    }
    return moment.timeLeftMs >= penaltyMs;
}

StuckOffer stuckOffer(int place) {
    StuckOffer offer;
    if (place == PlaceHallway) {
        offer = {true,
                 "TEXT_STUCK_QUENBY_HEADER",
                 "TEXT_STUCK_QUENBY",
                 "STUCK_BUTTON_RESTART",
                 "STUCK_BUTTON_SHUFFLE",
                 1};
    } else if (place == PlaceRecRoom) {
        offer = {true,
                 "TEXT_STUCK_RECROOM_HEADER",
                 "TEXT_STUCK_RECROOM",
                 "STUCK_BUTTON_RESTART",
                 "STUCK_BUTTON_UNDO",
                 2};
    }
    return offer;
}

bool stuckSecondEnabled(const StuckOffer& offer, bool allowSecond, int shuffleTokens) {
    if (!offer.dialog || !allowSecond) {
        return false;
    }
    return offer.noAction != 1 || shuffleTokens > 0;
}

std::string matchesTextId(int gameType, int matches) {
    std::string id = gameType == 3 ? "TEXT_TRIPLE_MATCHES_" : "TEXT_MATCHES_";
    if (matches <= 0) {
        return id + "ZERO";
    }
    return id + (matches == 1 ? "ONE" : "PLURAL");
}

std::wstring matchesCountText(int matches) {
    return matches > 0 ? std::to_wstring(matches) : std::wstring();
}

} // namespace orv
