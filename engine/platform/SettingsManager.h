#pragma once

#include "engine/core/BaseObject.h"
#include "engine/platform/IGameSettings.h"

#include <memory>
#include <string>

namespace orv {

class PropertyNode;

/// Owns the player's options and keeps them in the settings store, as values
/// of the game's key (`gameRegistryPath`), beside three flags:
/// "dontuseregistry", "shutdowncorrect" and "fatalerror".
///
/// Options go to the store as numbers (switches 1 or 0) and come back as
/// numbers. The flags are written as untyped texts, which the store keeps as
/// the number 0, and are read back as switches of text, so a stored flag
/// reads as true; only a flag stored as the text "false" reads as false. A
/// "shutdowncorrect" read as false starts the game windowed.
///
///     SettingsManager::create(std::make_unique<OrvantaGameSettings>());
///     const bool fullScreen = SettingsManager::get()->getSettings().getFullScreen();
///     ...
///     SettingsManager::get()->save();    // at exit and on every full-screen change
///     SettingsManager::destroyInstance();
///
/// Main thread only.
class SettingsManager : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Makes the process-wide manager around `settings` (owned; not null),
    /// replacing an earlier one, takes the game's key path and loads the
    /// stored options into it. Returns the manager.
    static SettingsManager& create(std::unique_ptr<IGameSettings> settings);
    /// The manager, or null before `create` and after `destroyInstance`.
    [[nodiscard]] static SettingsManager* get();
    /// Drops the process-wide manager (it does not save).
    static void destroyInstance();

    /// Writes the options and flags to the store, one value each. Failures
    /// are not reported (the options stay in memory).
    virtual void save();
    /// Reads the store's values into the options and flags; missing values
    /// keep theirs, values of unknown kinds are skipped. Then, when
    /// "shutdowncorrect" read false, full screen is switched off; otherwise
    /// "shutdowncorrect" becomes false in memory for the rest of the run.
    virtual void load();
    /// The options (see `IGameSettings::saveOptions`) and then the three flags
    /// as untyped "true"/"false" values, into `node` (borrowed); a null node
    /// or the shared dummy node receives nothing.
    virtual void writeFlags(PropertyNode* node);
    /// `IGameSettings::loadOptions`, then each flag `node` holds, read as a
    /// text switch (true unless empty or exactly "false").
    virtual void readFlags(PropertyNode* node);

    /// The options, owned by the manager.
    [[nodiscard]] IGameSettings& getSettings() { return *settings_; }
    /// The key path in the store, "\"-separated.
    [[nodiscard]] const std::string& getRegistryPath() const { return registryPath_; }
    [[nodiscard]] bool getDontUseRegistry() const { return dontUseRegistry_; }
    [[nodiscard]] bool getShutdownCorrect() const { return shutdownCorrect_; }
    [[nodiscard]] bool getFatalError() const { return fatalError_; }
    void setDontUseRegistry(bool value) { dontUseRegistry_ = value; }
    void setShutdownCorrect(bool value) { shutdownCorrect_ = value; }
    void setFatalError(bool value) { fatalError_ = value; }

private:
    explicit SettingsManager(std::unique_ptr<IGameSettings> settings);

    std::unique_ptr<IGameSettings> settings_;
    std::string registryPath_;
    bool dontUseRegistry_ = false;
    bool shutdownCorrect_ = true;
    bool fatalError_ = false;
};

} // namespace orv
