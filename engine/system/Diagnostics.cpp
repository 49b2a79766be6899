#include "engine/system/Platform.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace orv::platform {

namespace {

std::atomic<DiagnosticFunction> installedFunction{nullptr};

} // namespace

void setDiagnosticFunction(DiagnosticFunction function) {
    installedFunction.store(function);
}

void reportDiagnostic(std::string_view line) {
    if (const DiagnosticFunction function = installedFunction.load()) {
        function(line);
        return;
    }
    const std::string text = "orvanta platform: " + std::string(line) + "\n";
    std::fputs(text.c_str(), stderr);
}

} // namespace orv::platform
