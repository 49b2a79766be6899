#pragma once

#include <string>

namespace orv {

class GameNode;
class Modifier;
class Sound;
class Sprite;

/// Throws `count` stars of the image `imageName` (section "default") out of
/// the middle of `node` (the middle of its drawn picture when it is a
/// sprite) along curved paths `distance` pixels long, each star starting at
/// a slot of its own within the burst, after `startDelay` ms. The stars are
/// siblings of `node`, drawn just above it (`above`) or just under it; each
/// plays the image's frames over `duration` ms, fades and removes itself.
/// Nothing happens without the image, without stars or when `node` has no
/// parent.
void buildStarAnimation(GameNode& node, int count, const std::string& imageName, int distance,
                        int alpha, int startDelay, bool above, int duration);

/// The preset bursts, each a callback of a one-shot function modifier
/// (`ModifierFunction`): `modifier` is the calling modifier. All return 0.
///
/// 4 x (2t + 1) stars thrown 12 x (2t + 1) pixels above the calling
/// modifier's target, t being the target's tag.
int starBurstByTag(void* context, void* modifier);
/// 20 stars thrown 100 pixels under `context` (a `GameNode`).
int starBurstLarge(void* context, void* modifier);
/// 12 stars thrown 45 pixels above `context` (a `GameNode`), or above the
/// calling modifier's target when `context` is null.
int starBurstSmall(void* context, void* modifier);

/// Pops `sprite` in and wiggles it, under `parent` (an animation tree or a
/// modifier in one): its scale becomes 0; it is shown and grows to full size
/// over `scaleMs`; then, together, `sound` plays (when given; nothing waits
/// for it) and the sprite turns 0 -> A -> -A -> A -> -A -> 0, each turn
/// taking `wiggleMs`, A being `angle` in radians. Without a parent nothing
/// happens.
void addWiggleAnimation(Sprite& sprite, int scaleMs, int wiggleMs, float angle, Modifier* parent,
                        Sound* sound);

} // namespace orv
