#pragma once

#include "engine/core/RefPtr.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class PropertyNode;

/// One playing session of the usage record.
struct PlayingSession {
    int startTime = 0; ///< seconds since 1970-01-01 UTC
    int endTime = 0;   ///< 0 until stamped
    int gameMode = 0;
    int numOfPlayers = 0;
    bool fullScreen = false;
    int bitDepth = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    /// Event records of the session (kept in memory, never written).
    std::vector<RefPtr<PropertyNode>> events;
};

/// The local usage record: "gd.xml" in the shared data folder's "_temp"
/// folder holds the machine's facts (rewritten every run) and the playing
/// sessions of the last runs; the settings store keeps the total playing
/// time ("totalplayingtime") and the file's path ("dgfilename") under the
/// game's "qrv" key. Nothing is sent anywhere.
///
///     DataGathering::start();                     // start-up, after the log
///     DataGathering::get()->beginSession(0, 1);   // the lobby
///     DataGathering::get()->closeSession();       // exit: stamps EndTime
///     DataGathering::finish();                    // appends the sessions
///
/// The file keeps only the last kMaxStoredSessions sessions, so it cannot
/// grow without end. Main thread only.
class DataGathering {
public:
    /// Sessions the file keeps: a year of daily play.
    static constexpr std::size_t kMaxStoredSessions = 400;

    /// Starts the record (once): reads the total playing time, stores the
    /// file's path and writes the machine's facts into the file. The file
    /// goes into `folder`, or the temporary folder of the shared data folder
    /// when it is empty. Returns the record.
    static DataGathering& start(std::string_view folder = {});
    /// The record, or null before `start` and after `finish`.
    [[nodiscard]] static DataGathering* get();
    /// Adds this run's time to the total, appends the sessions to the file
    /// (keeping the last kMaxStoredSessions) and ends the record. Nothing
    /// without a record.
    static void finish();

    /// Opens a session now: start time, `gameMode`, `numberOfPlayers`, the
    /// window's mode and depth and the desktop's size.
    void beginSession(int gameMode, int numberOfPlayers);
    /// Appends `event` (a reference is taken) to the last session; nothing
    /// when no session was begun.
    void addRecord(PropertyNode& event);
    /// Stamps the open session's end time; nothing when none is open.
    void closeSession();

    [[nodiscard]] bool isSessionClosed() const { return sessionClosed_; }
    [[nodiscard]] const std::vector<PlayingSession>& getSessions() const { return sessions_; }
    [[nodiscard]] const std::string& getFileName() const { return fileName_; }
    [[nodiscard]] std::uint32_t getTotalPlayingTime() const { return totalPlayingTime_; }

    DataGathering(const DataGathering&) = delete;
    DataGathering& operator=(const DataGathering&) = delete;
    ~DataGathering();

private:
    DataGathering() = default;

    bool sessionClosed_ = true;
    std::string fileName_;
    std::uint32_t totalPlayingTime_ = 0;
    std::uint32_t startTick_ = 0;
    std::vector<PlayingSession> sessions_;
};

} // namespace orv
