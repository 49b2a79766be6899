#pragma once

#include "tools/media/MediaSet.h"
#include "tools/media/Synth.h"

#include <string>
#include <vector>

namespace orv::media {

/// The playing screen's sound effects (mono, `sampleRate`): the level's
/// start, build-up, win and loss, tiles flying to and landing in the rack,
/// shuffle and undo, the time warning loop, and the bonus bar's claim,
/// departure and arrivals.
[[nodiscard]] std::vector<SoundEffect> synthesisePlayingEffects();

/// One looping music track per game type.
struct MusicTrack {
    std::string name;           ///< file stem under media/music/
    std::vector<float> samples; ///< stereo, interleaved left/right, -1..1
};

/// The game types' music: Classic, FreeCell, Split, Triple and River (which
/// Speed shares), each with its own tempo, metre, key and instruments, made
/// to loop without a seam.
[[nodiscard]] std::vector<MusicTrack> synthesiseGameMusic();

/// The elevator's music: a soft lounge tune from the same instruments,
/// stereo, interleaved, made to loop without a seam.
[[nodiscard]] std::vector<float> synthesiseElevatorMusic();

/// Adds the effects as "media/sounds/<name>.wav" and the music as
/// "media/music/game_<type>.ogg" (Vorbis at a modest quality: the tracks are
/// long and soft).
void addPlayingSounds(MediaSet& media);

} // namespace orv::media
