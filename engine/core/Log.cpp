#include "engine/core/Log.h"

#include "engine/system/Platform.h"

#include <iostream>
#include <mutex>
#include <utility>

namespace orv {

namespace {

std::mutex sinkMutex;
LogSink currentSink;

constexpr std::string_view levelName(LogLevel level) {
    switch (level) {
    case LogLevel::Info:
        return "info";
    case LogLevel::Warning:
        return "warning";
    case LogLevel::Error:
        return "error";
    }
    return "?";
}

// The system layer reports what it works around through its own hook; it
// joins this log as warnings as soon as the library is loaded.
void forwardPlatformDiagnostic(std::string_view line) {
    logMessage(LogLevel::Warning, line);
}

[[maybe_unused]] const bool platformDiagnosticsForwarded = [] {
    platform::setDiagnosticFunction(forwardPlatformDiagnostic);
    return true;
}();

} // namespace

void logMessage(LogLevel level, std::string_view message) {
    const std::scoped_lock lock(sinkMutex);
    if (currentSink) {
        currentSink(level, message);
        return;
    }
    std::clog << "orvanta " << levelName(level) << ": " << message << '\n';
}

LogSink setLogSink(LogSink sink) {
    const std::scoped_lock lock(sinkMutex);
    return std::exchange(currentSink, std::move(sink));
}

} // namespace orv
