#include "game/dialogs/DialogHooks.h"

namespace orv {

namespace {

PlayingScreenHook* screenHook = nullptr;
PlayerHook* playerHook = nullptr;

} // namespace

PlayingScreenHook* getPlayingScreenHook() {
    return screenHook;
}

void setPlayingScreenHook(PlayingScreenHook* hook) {
    screenHook = hook;
}

PlayerHook* getPlayerHook() {
    return playerHook;
}

void setPlayerHook(PlayerHook* hook) {
    playerHook = hook;
}

} // namespace orv
