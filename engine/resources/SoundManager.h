#pragma once

#include "engine/core/RefPtr.h"
#include "engine/core/Task.h"
#include "engine/resources/SoundStream.h"

#include <cstdint>

namespace orv {

/// Sets up the sound output, keeps the music: the current stream and, during
/// a cross-fade, the next one, and moves their fades once per frame as the
/// frame's sound task. Also mutes and unmutes effects and music together.
///
///     SoundManager* sound = SoundManager::create(44100, 0, 32);
///     sound->setMusicVolume(50);
///     sound->setSfxVolume(255);
///     timedTasks.addTask(sound);
///     auto* lobby = kindCast<SoundStream>(resources->getLoadedObject("MUSIC_LOBBY", "music"));
///     sound->playMusic(1000, 1.0F, 1000, lobby, 0, true);   // cross-fades to it
///     ...
///     SoundManager::destroyInstance();                     // closes the output
///
/// The manager keeps a reference to the streams it plays, so unloading their
/// resources never leaves it with a freed stream. Fade levels run from 0.0
/// (silent) to 1.0 (the stream's full volume); times are milliseconds.
/// Every operation does nothing (and reports that nothing played) while sound
/// is disabled. Main thread only. Its class record is a child of
/// `BaseObject`, as the engine's records have it, though the code is a `Task`.
class SoundManager : public Task {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Opens the sound output (sound is enabled when that works) and creates
    /// the process-wide manager in every case, holding one reference of its
    /// own; returns it. The output's format is fixed (44,100 Hz, 32 effect
    /// channels): other values are logged and otherwise ignored, as is
    /// `ignored`. A manager that exists already is returned as it is.
    static SoundManager* create(int mixRate, int ignored, int channels);
    /// The process-wide manager (borrowed), null before `create` and after
    /// `destroyInstance`.
    [[nodiscard]] static SoundManager* getInstance();
    /// Drops the manager's own reference; its end stops the music and closes
    /// the output.
    static void destroyInstance();

    /// A manager that leaves the output as it is (tests open it themselves).
    SoundManager() = default;
    /// Stops both streams; the manager made by `create` also closes the
    /// output, so sound is disabled afterwards.
    ~SoundManager() override;

    /// Plays `stream` as the music: it becomes the current stream (stopping
    /// the old current one) unless a cross-fade runs, opens it when needed
    /// (with its sync points), resumes at its remembered position and
    /// applies its volume. True when it plays (also when `stream` is `old`).
    bool playStream(SoundStream* stream, SoundStream* old, bool looped);
    /// Changes the music to `stream`, cross-fading: the current stream fades
    /// to 0 over `fadeOutMs`, `stream` starts after `startDelayMs` and fades
    /// from 0 to `level` over `fadeInMs`. When `stream` plays the current
    /// file already it only fades to `level`; when it is the stream fading in
    /// it only gets the new level.
    void playMusic(int fadeOutMs, float level, int fadeInMs, SoundStream* stream, int startDelayMs,
                   bool looped);
    /// Starts a fade of `stream` from `from` to `to` over `durationMs` (at
    /// least 1 ms).
    static void startFade(SoundStream& stream, float from, float to, int durationMs);
    /// Stores `volume` (0-255) as the stream's volume and, unless muted,
    /// applies volume × multiplier × music volume / 255 × fade level,
    /// rounded to the nearest (ties to even) and clamped to 0-255.
    void setStreamVolume(SoundStream* stream, std::uint8_t volume);
    /// Stops and closes the stream (null does nothing).
    void stopStream(SoundStream* stream);
    /// Stops and closes the current stream; the next one becomes current.
    void finishCrossFade();
    /// Stops and closes both streams.
    void stopMusic();
    /// Fades the music out to silence over `durationMs` (at least 1 ms): the
    /// stream fading in during a cross-fade, else the current one, gets the
    /// target 0 and a step that takes the current stream's present fade
    /// level to 0 in that time. Nothing without sound or music.
    void fadeOutMusic(int durationMs);
    /// Pauses the music: with `fadeMs` 0 at once (the position is kept, and
    /// playing the stream again resumes there; true when it stopped now),
    /// otherwise after fading out over `fadeMs` (false now). False without
    /// music or when a pause is under way already.
    bool pauseMusic(int fadeMs);
    /// Mutes effects and music (master volume 0, streams 0) or restores them.
    void setMuted(bool muted);
    [[nodiscard]] bool isMuted() const { return muted_; }

    /// The effects volume (0-255), applied as the master volume unless muted.
    void setSfxVolume(std::uint8_t volume);
    [[nodiscard]] std::uint8_t getSfxVolume() const { return sfxVolume_; }
    /// The music volume (0-255); streams take it at their next volume change.
    void setMusicVolume(std::uint8_t volume) { musicVolume_ = volume; }
    [[nodiscard]] std::uint8_t getMusicVolume() const { return musicVolume_; }

    /// Borrowed from this manager's references; null when none.
    [[nodiscard]] SoundStream* getCurrent() const { return current_.get(); }
    [[nodiscard]] SoundStream* getNext() const { return next_.get(); }
    [[nodiscard]] bool isCrossFading() const { return crossFading_; }
    [[nodiscard]] bool isPausing() const { return pausing_; }
    [[nodiscard]] bool isPaused() const { return paused_; }
    [[nodiscard]] int getStartDelayMs() const { return startDelayMs_; }

    /// One frame: waits out the next stream's start delay, moves both fades
    /// by `elapsedMs`, applies the volumes, pauses once a pausing fade ended
    /// and finishes a cross-fade once both fades reached their targets.
    void run(int elapsedMs) override;

private:
    // Moves the stream's fade toward its target; true once it is there.
    bool advanceFade(SoundStream& stream, int elapsedMs);
    void closeStream(SoundStream& stream);

    bool ownsOutput_ = false;
    bool muted_ = false;
    std::uint8_t sfxVolume_ = 255;
    std::uint8_t musicVolume_ = 255;
    RefPtr<SoundStream> current_;
    RefPtr<SoundStream> next_;
    bool crossFading_ = false;
    int startDelayMs_ = 0;
    bool pausing_ = false;
    bool paused_ = false;
};

} // namespace orv
