#include "game/screen/BackgroundChoice.h"

namespace orv {

namespace {

constexpr int kCustomBackgrounds = 10;
constexpr int kGameTypes = 6;

} // namespace

BackgroundPicture chooseBackground(int gameType, int choice) {
    if (choice >= 1 && choice <= kCustomBackgrounds) {
        std::string name = "BACKGROUND_CUSTOM";
        name.append(std::to_string(choice));
        return {name, "manual"};
    }
    if (gameType < 0 || gameType >= kGameTypes) {
        return {};
    }
    std::string name = "BACKGROUND";
    name.append(std::to_string(gameType + 1));
    return {name, "manual"};
}

} // namespace orv
