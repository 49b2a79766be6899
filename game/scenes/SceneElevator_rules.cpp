// The elevator's rules that need no scene: which buttons open, how long a
// ride takes, what it loads, where the floor strip stands and what the host
// says.
#include "engine/core/RandomGenerator.h"
#include "engine/core/TextUtil.h"
#include "engine/properties/BasicProperties.h"
#include "engine/properties/GameConstants.h"
#include "game/dialogs/DialogRoomPreview.h"
#include "game/players/OrvantaPlayer.h"
#include "game/scenes/SceneElevator.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

namespace orv::elevator {

namespace {

// The unlock item of each game type (Classic, FreeCell, Split, Triple,
// River) that opens it in the casino, and in the recreation room.
constexpr std::array<int, 5> kCasinoItems{0, 4, 7, 1, 10};
constexpr std::array<int, 5> kRecRoomItems{3, 12, 11, 5, 8};
// The recreation-room levels a game type offers.
constexpr int kRecRoomLevels = 30;
// The floors whose announcement has words of its own.
constexpr std::array<int, 4> kAnnouncedFloors{1, 2, 11, 20};
// The tip that only makes sense once the player knows the second game type.
constexpr int kLateTip = 2;
constexpr int kLateTipType = 1;
constexpr int kLateTipPlays = 3;

std::wstring numbered(std::string_view prefix, int n) {
    return getText(std::string(prefix) + std::to_string(n));
}

// A game type open in the place whose unlock items are `items`, picked
// evenly among the open ones; none when no type is open there.
std::optional<int> pickOpenType(const OrvantaPlayer& player, const std::array<int, 5>& items,
                                RandomGenerator& random) {
    std::vector<int> open;
    for (std::size_t t = 0; t < items.size(); ++t) {
        if (player.unlockedStuff.at(static_cast<std::size_t>(items.at(t))) !=
            OrvantaPlayer::kLocked) {
            open.push_back(static_cast<int>(t));
        }
    }
    if (open.empty()) {
        return std::nullopt;
    }
    return open.at(
        static_cast<std::size_t>(Random::nextInt(random, 0, static_cast<int>(open.size()))));
}

std::wstring fill(int k, std::wstring_view mark, int number) {
    std::wstring text = numbered("TEXT_BRASTOW_RANDOM_STAT", k);
    static_cast<void>(replaceAll(text, mark, intToWideString(number), true));
    return text;
}

// A place statistic (6, 7, 9, 10): the plays of one open game type there.
std::wstring placeStatistic(OrvantaPlayer& player, int k, RandomGenerator& random) {
    const bool casino = k == 6 || k == 9;
    const bool wantsPlays = k == 6 || k == 7;
    const std::size_t mode = casino ? 1 : 2;
    if (player.modesUnlocked.at(mode) == OrvantaPlayer::kLocked) {
        return {};
    }
    const std::optional<int> type =
        pickOpenType(player, casino ? kCasinoItems : kRecRoomItems, random);
    if (!type) {
        return {};
    }
    int plays = 0;
    if (casino) {
        for (int difficulty = 0; difficulty < PlayerStats::kDifficulties; ++difficulty) {
            plays += player.stats.getCasino(*type, difficulty).playCount;
        }
    } else {
        // Read only: counting must not grow the saved record lists.
        const std::vector<RecRoomRecord>& records = player.stats.getRecRoomList(*type);
        const std::size_t count =
            std::min(records.size(), static_cast<std::size_t>(kRecRoomLevels));
        for (std::size_t level = 0; level < count; ++level) {
            plays += records.at(level).playCount;
        }
    }
    if ((plays > 0) != wantsPlays) {
        return {};
    }
    std::wstring text = fill(k, L"%n", plays);
    static_cast<void>(replaceAll(text, L"%g", gameTypeHeader(*type), true));
    return text;
}

// One draw of a tip, a remark or a statistic; none when the drawn one does
// not apply to this player.
std::optional<std::wstring> drawOnce(OrvantaPlayer& player, RandomGenerator& random,
                                     const TalkSettings& settings) {
    const int r = Random::nextInt(random, 0, 100);
    if (r < settings.tipPercent) {
        if (settings.tips <= 0) {
            return std::nullopt;
        }
        // A tip the player is not ready for draws only its number again,
        // so the tips keep their share of the talk.
        int n = Random::nextInt(random, 0, settings.tips);
        for (int again = 0;
             n == kLateTip && !player.stats.hasPlayCount(kLateTipType, kLateTipPlays); ++again) {
            n = again < kMaxTalkDraws ? Random::nextInt(random, 0, settings.tips) : 0;
        }
        return numbered("TEXT_BRASTOW_RANDOM_TIP", n);
    }
    if (r < 100 - settings.statPercent - settings.tipPercent) {
        if (settings.remarks <= 0) {
            return std::nullopt;
        }
        return numbered("TEXT_BRASTOW_RANDOM_", Random::nextInt(random, 0, settings.remarks));
    }
    if (settings.statistics <= 0) {
        return std::nullopt;
    }
    std::wstring text =
        statisticText(player, Random::nextInt(random, 0, settings.statistics), random);
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

} // namespace

ButtonStates buttonStates(int floorReached, const std::vector<int>& floorsToUnlock,
                          const std::array<int, 4>& modesUnlocked,
                          const std::array<bool, 4>& placeExists) {
    ButtonStates states;
    for (int floor = 1; floor <= kFloors; ++floor) {
        const bool waiting =
            std::find(floorsToUnlock.begin(), floorsToUnlock.end(), floor) != floorsToUnlock.end();
        states.floors.at(static_cast<std::size_t>(floor - 1)) = floor <= floorReached && !waiting;
    }
    for (std::size_t k = 0; k < states.places.size(); ++k) {
        const int mode = modesUnlocked.at(k);
        states.places.at(k) = mode != OrvantaPlayer::kLocked &&
                              mode != OrvantaPlayer::kNewlyOpened && placeExists.at(k);
    }
    return states;
}

int travelTime(int from, int to) {
    return std::abs(to - from) * 200 + BRASTOW_TIP_MINIMAL_TIME_APPEAR;
}

std::vector<std::string_view> sectionsFor(int destination) {
    switch (destination) {
    case kLobby:
        return {"lobby"};
    case kCasino:
        return {"casino", "casrecroof"};
    case kRecRoom:
        return {"recroom", "casrecroof"};
    case kRoof:
        return {"roof", "casrecroof"};
    default:
        break;
    }
    if (destination >= 1 && destination <= kFloors) {
        return {"hallway"};
    }
    return {};
}

int stripY(int displayY, int displayHeight, int stripHeight, int stop) {
    return displayY + displayHeight - 4 - (kStops - stop) * (stripHeight / kStops);
}

TalkSettings TalkSettings::fromConstants() {
    return TalkSettings{NUM_BRASTOW_TIPS, NUM_BRASTOW_MISCELLANEOUS, NUM_BRASTOW_STATS,
                        BRASTOW_TIP_FREQUENCY, BRASTOW_STAT_FREQUENCY};
}

std::wstring statisticText(OrvantaPlayer& player, int k, RandomGenerator& random) {
    const PlayerStats& stats = player.stats;
    switch (k) {
    case 0:
        return stats.numMatches >= 2 ? fill(k, L"%m", stats.numMatches) : std::wstring();
    case 1:
        return stats.numStuck > 0 ? fill(k, L"%s", stats.numStuck) : std::wstring();
    case 2:
        return stats.numBonusTotal > 1 ? fill(k, L"%b", stats.numBonusTotal) : std::wstring();
    case 3: {
        const int levels = player.getLevelsCompleted();
        return levels > 0 ? fill(k, L"%p", levels) : std::wstring();
    }
    case 4:
        return stats.twoStarsCount > 0 ? fill(k, L"%r", stats.twoStarsCount) : std::wstring();
    case 5:
        return stats.threeStarsCount > 0 ? fill(k, L"%r", stats.threeStarsCount) : std::wstring();
    case 6:
    case 7:
    case 9:
    case 10:
        return placeStatistic(player, k, random);
    case 8:
        return stats.numGamesWon > 0 ? fill(k, L"%t", stats.numGamesWon) : std::wstring();
    default:
        return {};
    }
}

std::wstring chooseTalk(OrvantaPlayer& player, const std::vector<int>& floorsToUnlock,
                        RandomGenerator& random, const TalkSettings& settings) {
    if (!floorsToUnlock.empty()) {
        const int floor = floorsToUnlock.front();
        if (std::find(kAnnouncedFloors.begin(), kAnnouncedFloors.end(), floor) !=
            kAnnouncedFloors.end()) {
            return numbered("TEXT_BRASTOW_UNLOCKED", floor);
        }
    }
    for (int draw = 0; draw < kMaxTalkDraws; ++draw) {
        if (std::optional<std::wstring> text = drawOnce(player, random, settings)) {
            return *text;
        }
    }
    // Nothing drawn applied: a remark, else a tip that needs no condition.
    if (settings.remarks > 0) {
        return numbered("TEXT_BRASTOW_RANDOM_", Random::nextInt(random, 0, settings.remarks));
    }
    if (settings.tips > 0) {
        const int n = Random::nextInt(random, 0, settings.tips);
        return numbered("TEXT_BRASTOW_RANDOM_TIP", n == kLateTip ? 0 : n);
    }
    return {};
}

} // namespace orv::elevator
