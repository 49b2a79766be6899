#pragma once

#include <string_view>

namespace orv::media {

/// Reports a fault of the build step on standard error and ends the tool with
/// exit code 1. The tool runs inside the build, where a half-written media set
/// is worse than a stopped build, so it never carries on after a fault.
[[noreturn]] void fail(std::string_view what);

} // namespace orv::media
