#pragma once

#include "engine/core/GameNode.h"
#include "engine/core/RefPtr.h"
#include "engine/resources/Sound.h"
#include "engine/system/Platform.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class PropertyNode;

/// A sound placed in the node tree, with rules for overlapping plays,
/// restarts and panning by the node's place on the screen. Built by the
/// object factory under "SoundNode"; keys beyond those of `GameNode` (and
/// their defaults): "sound" and "section" (the "Sound" resource, looked up
/// when both are given), "looped" (false), "volume" (0-255; 255), "panning"
/// (0-255; 128), "screenpospanning" (false), "panminx" and "panmaxx" (kept,
/// unused; -1), "panminvalue" and "panmaxvalue" (0, 255), "forcedrestart"
/// (false), "forcedstop" (false), "maxusers" (1), "minstartinterval" (ms;
/// 200).
///
/// The node keeps a counted reference to its sound, so unloading the section
/// never leaves it pointing at a freed sound. When the section was not
/// loaded while the node was built, the sound is looked up again at each
/// play until it is found; until then nothing plays.
///
///     auto* click = kindCast<SoundNode>(createFromDefinition(definition));
///     click->play(click->getVolume(), click->getPanning(), false, false);
///
/// Main thread only.
class SoundNode : public GameNode {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// The object factory's create function for "SoundNode".
    [[nodiscard]] static BaseObject* createFromDefinition(PropertyNode* definition);

    /// A node with every default and the given sound (may be null).
    explicit SoundNode(Sound* sound = nullptr);
    /// Built from a definition node (null reads as the empty dummy).
    explicit SoundNode(PropertyNode* definition);

    /// Plays the sound (volume and pan 0-255, clamped), counting one more
    /// user. Unless `restart` or "forcedrestart" is set, a node that already
    /// has "maxusers" users starts nothing when it is looped or its current
    /// play began less than "minstartinterval" ms ago (the user still
    /// counts). A new play of a looped node stops the loop it replaces.
    /// Returns the node's current channel, kNoAudioChannel when nothing
    /// plays; while sound is disabled counts nothing.
    platform::AudioChannel play(int volume, int pan, bool looped, bool restart);
    /// Drops one user (all of them when `force` or "forcedstop" is set) and
    /// stops the channel once none is left. True when a channel was stopped.
    bool stop(bool force);
    /// Clamps `value` into ["panminvalue", "panmaxvalue"] and then 0..255,
    /// stores it and applies it to the playing channel.
    void setPanning(int value);
    /// The pan that the node's place asks for: its absolute x / the logical
    /// width of the process-wide window (`GameWindow::getWidth`, read on every
    /// call so that it follows a change) × 255, rounded to the nearest (ties
    /// to even), not yet clamped (a node right of the screen gives more than
    /// 255). 128 without a window or while its width is 0 or less.
    [[nodiscard]] int screenPan() const;
    /// Counts down the current play; once it has run out and the node is not
    /// looped, `stop(false)`. Then follows the screen with "screenpospanning".
    /// Nothing while sound is disabled.
    void updateSelf(int elapsedMs) override;
    /// The sound's length in milliseconds; 0 without a sound.
    [[nodiscard]] std::uint32_t getDurationMs() const;

    /// The sound (borrowed from this node's reference), null when none is
    /// known yet.
    [[nodiscard]] Sound* getSound() const { return sound_.get(); }
    void setSound(Sound* sound) { sound_ = sound; }
    [[nodiscard]] platform::AudioChannel getChannel() const { return channel_; }
    [[nodiscard]] bool isLooped() const { return looped_; }
    [[nodiscard]] int getUsers() const { return users_; }
    [[nodiscard]] std::uint8_t getVolume() const { return volume_; }
    [[nodiscard]] std::uint8_t getPanning() const { return panning_; }
    [[nodiscard]] int getRemainingMs() const { return remainingMs_; }
    void setMaxUsers(int maxUsers) { maxUsers_ = maxUsers; }
    void setPanRange(int minValue, int maxValue);
    void setScreenPosPanning(bool enabled) { screenPosPanning_ = enabled; }

private:
    void readDefinition(PropertyNode* definition);
    // The sound, looked up by name when none is held yet.
    Sound* findSound();

    RefPtr<Sound> sound_;
    std::string soundName_;
    std::string sectionName_;
    platform::AudioChannel channel_ = platform::kNoAudioChannel;
    bool looped_ = false;
    int users_ = 0;
    std::uint8_t volume_ = 255;
    std::uint8_t panning_ = 128;
    bool screenPosPanning_ = false;
    int panMinX_ = -1;
    int panMaxX_ = -1;
    int panMinValue_ = 0;
    int panMaxValue_ = 255;
    bool forcedRestart_ = false;
    bool forcedStop_ = false;
    int maxUsers_ = 1;
    int remainingMs_ = 0;
    int minStartInterval_ = 200;
};

} // namespace orv
