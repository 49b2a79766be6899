#include "game/players/PlayerNotices.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <vector>

namespace orv {

namespace {

struct PlayerNoticeQueue {
    std::deque<PlayerNotice> waiting;
    std::vector<PlayerNotice> posted;
};

PlayerNoticeQueue& noticeQueue() {
    static PlayerNoticeQueue all;
    return all;
}

} // namespace

bool postPlayerNotice(const PlayerNotice& notice) {
    PlayerNoticeQueue& all = noticeQueue();
    if (std::find(all.posted.begin(), all.posted.end(), notice) != all.posted.end()) {
        return false;
    }
    all.posted.push_back(notice);
    all.waiting.push_back(notice);
    return true;
}

std::optional<PlayerNotice> takePlayerNotice() {
    PlayerNoticeQueue& all = noticeQueue();
    if (all.waiting.empty()) {
        return std::nullopt;
    }
    PlayerNotice notice = std::move(all.waiting.front());
    all.waiting.pop_front();
    return notice;
}

bool hasPlayerNotice() {
    return !noticeQueue().waiting.empty();
}

void clearPlayerNotices() {
    noticeQueue() = {};
}

std::string describeFileForPlayer(std::string_view path) {
    const char* home = std::getenv("HOME");
    const std::string_view prefix = home != nullptr ? home : "";
    if (prefix.size() > 1 && path.starts_with(prefix) &&
        (path.size() == prefix.size() || path[prefix.size()] == '/')) {
        // Appended rather than concatenated: GCC 12's optimiser misreads
        // `"~" + std::string(...)` as an overlapping copy (-Wrestrict).
        std::string shown = "~";
        shown.append(path.substr(prefix.size()));
        return shown;
    }
    return std::string(path);
}

std::string_view getPlayerNoticeTextKey(PlayerNoticeKind kind) {
    switch (kind) {
    case PlayerNoticeKind::PlayersListSetAside:
        return "TEXT_NOTICE_PLAYERS_SET_ASIDE";
    case PlayerNoticeKind::ProfileSetAside:
        return "TEXT_NOTICE_PROFILE_SET_ASIDE";
    case PlayerNoticeKind::FileKept:
        return "TEXT_NOTICE_FILE_KEPT";
    case PlayerNoticeKind::FileOutOfReach:
        return "TEXT_NOTICE_FILE_OUT_OF_REACH";
    case PlayerNoticeKind::ProgressNotSaved:
        return "TEXT_NOTICE_NOT_SAVED";
    case PlayerNoticeKind::SavedGameUnusable:
        return "TEXT_NOTICE_SAVED_GAME";
    case PlayerNoticeKind::RoomUnreadable:
        return "TEXT_NOTICE_ROOM";
    case PlayerNoticeKind::SettingsOutOfReach:
        return "TEXT_NOTICE_SETTINGS";
    }
    return "TEXT_NOTICE_FILE_KEPT";
}

} // namespace orv
