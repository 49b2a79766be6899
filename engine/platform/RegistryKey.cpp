#include "engine/platform/RegistryKey.h"

#include "engine/properties/BasicProperties.h"
#include "engine/system/Platform.h"

#include <algorithm>

namespace orv {

std::string gameRegistryPath() {
    return "Software\\Vantrel\\Games\\" + getGameId();
}

RegistryKey::Path RegistryKey::normalizePath(std::string_view fullPath) {
    std::string path(fullPath);
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    const std::size_t split = path.rfind('\\');
    if (split == std::string::npos || split == 0) {
        return {{}, path};
    }
    return {path.substr(0, split), path.substr(split + 1)};
}

RegistryKey::RegistryKey(std::string_view fullPath, bool force)
    : path_(normalizePath(fullPath)), force_(force) {}

RegistryKey RegistryKey::initStringValue(std::string_view fullPath, bool force,
                                         std::string_view text) {
    RegistryKey key(fullPath, force);
    key.text_ = text;
    return key;
}

std::uint32_t RegistryKey::readValue() {
    const std::optional<platform::SettingsValue> stored =
        platform::readSettingsValue(path_.keyPath, path_.valueName);
    if (stored && stored->type == platform::SettingsValueType::Dword) {
        value_ = stored->number;
        ok_ = true;
    } else {
        value_ = defaultValue_;
    }
    return value_;
}

bool RegistryKey::writeDword(std::uint32_t value) {
    value_ = value;
    const platform::SettingsValue stored{
        path_.valueName, platform::SettingsValueType::Dword, value, {}};
    if (!platform::writeSettingsValue(path_.keyPath, stored)) {
        return false;
    }
    ok_ = true;
    return true;
}

bool RegistryKey::writeString(std::string_view text) {
    text_ = text;
    const platform::SettingsValue stored{path_.valueName, platform::SettingsValueType::String, 0,
                                         text_};
    if (!platform::writeSettingsValue(path_.keyPath, stored)) {
        return false;
    }
    ok_ = true;
    return true;
}

} // namespace orv
