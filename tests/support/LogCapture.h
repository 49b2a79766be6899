#pragma once

#include "engine/core/Log.h"

#include <string>
#include <string_view>
#include <vector>

namespace orv::test {

/// Silences the diagnostics for its lifetime, so the expected warnings of
/// malformed input stay out of the test output.
class QuietLog {
public:
    QuietLog() : previous_(setLogSink([](LogLevel, std::string_view) {})) {}
    QuietLog(const QuietLog&) = delete;
    QuietLog& operator=(const QuietLog&) = delete;
    ~QuietLog() { setLogSink(previous_); }

private:
    LogSink previous_;
};

/// Collects the diagnostic lines written during its lifetime.
class LogCapture {
public:
    LogCapture()
        : previous_(
              setLogSink([this](LogLevel, std::string_view line) { lines_.emplace_back(line); })) {}
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;
    ~LogCapture() { setLogSink(previous_); }

    [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }
    /// True when some line contains `part`.
    [[nodiscard]] bool contains(std::string_view part) const {
        for (const std::string& line : lines_) {
            if (line.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

private:
    std::vector<std::string> lines_;
    LogSink previous_;
};

} // namespace orv::test
