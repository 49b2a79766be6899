#pragma once

#include "engine/system/Platform.h"

#include <ctime>
#include <memory>
#include <string>

namespace orv {

/// The per-run log file's name. The game names its log and records where it
/// is, but writes nothing into it: diagnostics go through engine/core/Log.h.
///
///     LogFile::getInstance(0, 2).open();   // stores the path as "cdgfilename"
class LogFile {
public:
    /// The process-wide instance, made on the first call with `first` and
    /// `second` (kept, unused). Later calls ignore the arguments.
    static LogFile& getInstance(int first, int second);

    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;
    virtual ~LogFile();

    /// Works out the path (see `getPath`) and stores it as the text value
    /// "cdgfilename" under the game's key + "\qrv". No file is created.
    void open();
    /// The log's path: the temporary folder + "/log/" + the UTC time of the
    /// first call as `makeFileName` writes it. Made on first need (the "log"
    /// folder is created then) and kept.
    [[nodiscard]] const std::string& getPath();

    /// "YYYY-MM-DD HH-MM-SS.log" of `time` in UTC, whatever the local time
    /// zone and locale ("2007-05-14 09-30-12.log").
    [[nodiscard]] static std::string makeFileName(std::time_t time);

    [[nodiscard]] int getFirst() const { return first_; }
    [[nodiscard]] int getSecond() const { return second_; }

private:
    LogFile(int first, int second);

    int first_;
    int second_;
    std::string path_;
    /// Named after "GAME_NAME" + "_LOGGING_MUTEXNAME"; nothing waits on it.
    platform::NamedMutex mutex_;
};

/// The object whose life spans a normal run: start-up makes it and the exit
/// sequence destroys it through `setCrashMarker`. It writes nothing.
class CrashMarker {
public:
    CrashMarker() = default;
    CrashMarker(const CrashMarker&) = delete;
    CrashMarker& operator=(const CrashMarker&) = delete;
    virtual ~CrashMarker() = default;

    /// Makes the process-wide marker (replacing one that exists).
    static void create();
    /// True while the marker exists.
    [[nodiscard]] static bool exists();
};

/// Destroys the crash marker (if any) and clears its pointer. Called at exit.
void setCrashMarker();

} // namespace orv
