#pragma once

#include <functional>
#include <string_view>

namespace orv {

enum class LogLevel { Info, Warning, Error };

/// Receives every diagnostic line. The default sink writes to standard error.
using LogSink = std::function<void(LogLevel level, std::string_view message)>;

/// Writes one diagnostic line through the current sink. Safe on any thread.
void logMessage(LogLevel level, std::string_view message);
inline void logInfo(std::string_view message) {
    logMessage(LogLevel::Info, message);
}
inline void logWarning(std::string_view message) {
    logMessage(LogLevel::Warning, message);
}
inline void logError(std::string_view message) {
    logMessage(LogLevel::Error, message);
}

/// Replaces the sink and returns the previous one; an empty sink restores the
/// default. Tests use it to capture what a fault logged.
LogSink setLogSink(LogSink sink);

} // namespace orv
