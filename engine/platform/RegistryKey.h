#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

/// "Software\Vantrel\Games\" followed by the String setting "GAME_ID": the key
/// under which the game's options and counters are stored. The engine's own
/// values live in its sub-key "qrv".
[[nodiscard]] std::string gameRegistryPath();

/// One value of the user's settings store (see Platform.h), named by its full
/// path: the key path, "\", the value name. A value holds a 32-bit number or,
/// built with `initStringValue`, a text.
///
///     RegistryKey played(gameRegistryPath() + "\\qrv\\playtime", false);
///     played.setDefaultValue(0);
///     const std::uint32_t seconds = played.readValue();      // 0 when missing
///     played.writeDword(seconds + 60);
///
/// Failures are quiet: `isOk` stays false and reads give the default value.
class RegistryKey {
public:
    /// The key path and value name of a full path: every "/" becomes "\", one
    /// trailing "\" is dropped, and the path is split at its last "\" that is
    /// not the first character. Without such a "\", the key path is empty (a
    /// value directly under the root) and the whole path is the value name.
    struct Path {
        std::string keyPath;
        std::string valueName;
    };
    [[nodiscard]] static Path normalizePath(std::string_view fullPath);

    /// A number value. `force` tells callers to write even an unchanged value.
    RegistryKey(std::string_view fullPath, bool force);
    /// A text value holding `text` until read or written.
    [[nodiscard]] static RegistryKey initStringValue(std::string_view fullPath, bool force,
                                                     std::string_view text);

    /// The stored number; the default value when the value is missing or is
    /// not a number (then `isOk` stays false).
    std::uint32_t readValue();
    /// Stores `value` as a number (creating the key when missing) and holds
    /// it. True, and `isOk` set, on success.
    bool writeDword(std::uint32_t value);
    /// Stores `text` as a text value and holds it; as `writeDword`.
    bool writeString(std::string_view text);

    void setDefaultValue(std::uint32_t value) { defaultValue_ = value; }
    [[nodiscard]] std::uint32_t getDefaultValue() const { return defaultValue_; }
    /// The number last read or written (0 before).
    [[nodiscard]] std::uint32_t getValue() const { return value_; }
    /// The text given to `initStringValue` or last written.
    [[nodiscard]] const std::string& getText() const { return text_; }
    /// True after a successful read or write.
    [[nodiscard]] bool isOk() const { return ok_; }
    [[nodiscard]] bool isForced() const { return force_; }
    [[nodiscard]] const std::string& getKeyPath() const { return path_.keyPath; }
    [[nodiscard]] const std::string& getValueName() const { return path_.valueName; }

private:
    Path path_;
    bool ok_ = false;
    bool force_ = false;
    std::uint32_t value_ = 0;
    std::uint32_t defaultValue_ = 0;
    std::string text_;
};

} // namespace orv
