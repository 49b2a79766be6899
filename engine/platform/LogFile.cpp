#include "engine/platform/LogFile.h"

#include "engine/platform/DataFolders.h"
#include "engine/platform/RegistryKey.h"
#include "engine/properties/BasicProperties.h"

namespace orv {

namespace {

std::unique_ptr<CrashMarker> crashMarker;

} // namespace

LogFile& LogFile::getInstance(int first, int second) {
    // Built once, on the first call, and destroyed at process exit.
    static LogFile instance(first, second);
    return instance;
}

LogFile::LogFile(int first, int second)
    : first_(first), second_(second), mutex_(getGameName() + "_LOGGING_MUTEXNAME") {}

LogFile::~LogFile() = default;

void LogFile::open() {
    RegistryKey value =
        RegistryKey::initStringValue(gameRegistryPath() + "\\qrv\\cdgfilename", false, getPath());
    value.writeString(value.getText());
}

const std::string& LogFile::getPath() {
    if (path_.empty()) {
        const std::string folder = getTempFolder() + "/log";
        platform::ensureDirectory(folder);
        path_ = folder + "/" + makeFileName(std::time(nullptr));
    }
    return path_;
}

std::string LogFile::makeFileName(std::time_t time) {
    // gmtime_r and a fixed numeric format: neither the time zone nor the
    // locale may change the name.
    std::tm utc{};
    if (gmtime_r(&time, &utc) == nullptr) {
        return "unknown.log";
    }
    char name[64];
    if (std::strftime(name, sizeof name, "%Y-%m-%d %H-%M-%S.log", &utc) == 0) {
        return "unknown.log";
    }
    return name;
}

void CrashMarker::create() {
    crashMarker = std::make_unique<CrashMarker>();
}

bool CrashMarker::exists() {
    return crashMarker != nullptr;
}

void setCrashMarker() {
    crashMarker.reset();
}

} // namespace orv
