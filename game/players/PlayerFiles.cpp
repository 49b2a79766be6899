#include "game/players/PlayerFiles.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyStore.h"
#include "engine/resources/FileNames.h"
#include "engine/system/Platform.h"

#include <chrono>
#include <cstdio>

namespace orv {

namespace {

// The current UTC date and time as "yyyymmdd-hhmmss".
std::string dateAndTime() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u-%02d%02d%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

} // namespace

std::string makePlayerFileStem(std::string_view name) {
    if (name.empty()) {
        return {};
    }
    std::string encoded = encodeFileName(name);
    if (encoded.size() <= kMaxPlayerFileStemBytes) {
        return encoded;
    }
    if (1 + 2 * name.size() > kMaxPlayerFileStemBytes) {
        return {};
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex = "~";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

StoredFileLoad loadStoredFile(PropertyStore& store, const std::string& path, ArchiveMode mode) {
    const std::string stored = makeFileName(mode, path);
    if (!platform::pathExists(stored)) {
        return StoredFileLoad::Missing;
    }
    if (!platform::canOpenForReading(stored)) {
        logError(stored + ": cannot be opened; it is left as it is and not saved over");
        return StoredFileLoad::OutOfReach;
    }
    const ArchiveMode previous = store.getAccessMode();
    store.setAccessMode(mode);
    const bool loaded = store.load(path);
    store.setAccessMode(previous);
    return loaded ? StoredFileLoad::Loaded : StoredFileLoad::Failed;
}

bool setStoredFileAside(const std::string& path, ArchiveMode mode, std::string_view reason,
                        std::string* asideName) {
    if (asideName != nullptr) {
        asideName->clear();
    }
    const std::string stored = makeFileName(mode, path);
    if (!platform::pathExists(stored)) {
        return true;
    }
    const std::string base = stored + ".unreadable-" + dateAndTime();
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::string aside = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (platform::pathExists(aside)) {
            continue;
        }
        if (platform::renameFileNoReplace(stored, aside)) {
            std::string line = stored;
            line.append(": ").append(reason).append("; kept as ").append(aside);
            logWarning(line);
            if (asideName != nullptr) {
                *asideName = aside;
            }
            return true;
        }
        break;
    }
    logError(stored + ": " + std::string(reason) +
             "; it cannot be set aside, so it is left as it is and not saved over");
    return false;
}

} // namespace orv
