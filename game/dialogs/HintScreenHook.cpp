#include "game/dialogs/HintScreenHook.h"

namespace orv {

namespace {

HintScreenHook* installedHintScreen = nullptr;

} // namespace

HintScreenHook* getHintScreenHook() {
    return installedHintScreen;
}

void setHintScreenHook(HintScreenHook* hook) {
    installedHintScreen = hook;
}

} // namespace orv
