#include "tools/media/MediaSet.h"

#include "engine/resources/Descrambler.h"

namespace orv::media {

// The engine's own table: files scrambled here are read back by the game.
void scramble(Bytes& bytes) {
    descramble(bytes.data(), bytes.size());
}

} // namespace orv::media
