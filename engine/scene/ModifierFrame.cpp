#include "engine/scene/ModifierFrame.h"

#include "engine/core/Log.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"
#include "engine/scene/Sprite.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <string_view>

namespace orv {

constinit const ClassRecord ModifierFrame::classRecord{"ModifierFrame",
                                                       parentRecords<Modifier::classRecord>};

namespace {

bool showsLoopEnd(const Sprite& sprite) {
    return sprite.isReverseFrames() ? sprite.getCurrentFrame() == 0
                                    : sprite.getCurrentFrame() == sprite.getFrameCount() - 1;
}

bool playsOnce(const Sprite& sprite) {
    return sprite.getFrameWrapStyle() == FrameWrapStyle::Once;
}

} // namespace

ModifierFrame::ModifierFrame(int loops, int frameTimeMs)
    : loopsLeft_(loops), frameTimeMs_(frameTimeMs) {}

ModifierFrame::ModifierFrame(PropertyNode* definition) {
    const PropertyNode& source = *asNode(propertyOfDefinition(definition));
    struct Key {
        std::string_view name;
        int* field;
    };
    const std::array<Key, 2> keys{{
        {"loopcount", &loopsLeft_},
        {"frametime", &frameTimeMs_},
    }};
    for (const Key& key : keys) {
        const AbstractProperty* child = source.getChild(key.name);
        if (child == nullptr) {
            continue;
        }
        if (!child->isValue()) {
            logWarning("ModifierFrame definition '" + source.getName() + "': key '" +
                       std::string(key.name) + "' is not a value; the default is kept");
            continue;
        }
        *key.field = PropertyValue::toInt(child);
    }
}

BaseObject* ModifierFrame::createFromDefinition(PropertyNode* definition) {
    return new ModifierFrame(definition);
}

void ModifierFrame::step(Sprite& sprite) {
    const bool lastLoop = loopsLeft_ == 0 || playsOnce(sprite);
    if (atLoopEnd_ && lastLoop) {
        finish();
        return;
    }
    sprite.nextFrame();
    if (loopsLeft_ >= 0 || playsOnce(sprite)) {
        atLoopEnd_ = showsLoopEnd(sprite);
        if (atLoopEnd_ && loopsLeft_ > 0) {
            --loopsLeft_;
        }
    }
}

void ModifierFrame::runThrough(Sprite& sprite) {
    if (loopsLeft_ < 0 && !playsOnce(sprite)) {
        finish();
        return;
    }
    // Loop ends alternate between the two ends of the frames (wrap style
    // "switch") or fall on the same one: only the parity of the loops still
    // to run decides where the last ends, so at most two are run.
    if (loopsLeft_ > 2) {
        loopsLeft_ = loopsLeft_ % 2 == 1 ? 1 : 2;
    }
    // Three loops of up to two passes each, whatever the sprite does.
    const long long frames = std::max(sprite.getFrameCount(), 1);
    for (long long guard = 6 * frames + 6; guard > 0 && !isDone(); --guard) {
        step(sprite);
    }
    finish();
}

void ModifierFrame::update(int dtMs) {
    if (isDone()) {
        return; // a node's own list may update it once more
    }
    auto* sprite = kindCast<Sprite>(getTarget());
    if (sprite == nullptr) {
        finish(); // no frames to run through
        return;
    }
    if (frameTimeMs_ <= 0) {
        runThrough(*sprite);
        return;
    }
    // The time of this update counts from the next one on.
    if (accumulatedMs_ >= frameTimeMs_) {
        while (accumulatedMs_ >= frameTimeMs_ && !isDone()) {
            step(*sprite);
            if (!isDone()) {
                accumulatedMs_ -= frameTimeMs_;
            }
        }
    }
    accumulatedMs_ = static_cast<int>(
        std::min<long long>(static_cast<long long>(accumulatedMs_) + std::max(dtMs, 0),
                            std::numeric_limits<int>::max()));
}

} // namespace orv
