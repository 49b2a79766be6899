#include "engine/scene/ModifierLocationPolygonicPath.h"

#include "engine/core/Log.h"
#include "engine/scene/ModifierMath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace orv {

constinit const ClassRecord ModifierLocationPolygonicPath::classRecord{
    "ModifierLocationPolygonicPath", parentRecords<ModifierLocation::classRecord>};

ModifierLocationPolygonicPath::ModifierLocationPolygonicPath(Polygon* polygon, int startVertex,
                                                             int durationMs, bool loop, bool smooth)
    : ModifierLocation(durationMs, 0, 0), polygon_(polygon), loop_(loop) {
    setEasing(smooth ? &ModifierFraction::smoothstep : &ModifierFraction::linear);
    const int count = polygon_ ? polygon_->getPointCount() : 0;
    if (count == 0) {
        setReachedEnd(true);
        return;
    }
    if (startVertex < 0 || startVertex >= count) {
        logWarning("Path modifier: start vertex " + std::to_string(startVertex) +
                   " is not one of the polygon's " + std::to_string(count) +
                   " points; vertex 0 is used");
        startVertex = 0;
    }
    startVertex_ = startVertex;
    totalLength_ = polygon_->length();
    const PointF start = polygon_->getPoint(startVertex_);
    setStart(modifier_math::nearestInt(start.x), modifier_math::nearestInt(start.y));
    setCurrent(start.x, start.y);
    walk_.vertex = startVertex_;
    // A closed path is gone round once back to its start vertex; jumping to
    // the last point (the first) from there would cross the loop in a frame.
    end_ = polygon_->isClosed() ? start : polygon_->getPoint(count - 1);
    // A zero duration has no time to run through: the first update shows the
    // end of the path and finishes, also when looping.
    setReachedEnd(durationMs <= 0);
}

PointF ModifierLocationPolygonicPath::walkTo(Walk& walk, double distance) const {
    const Polygon& polygon = *polygon_;
    // A run covers the n - 1 edges that make up the polygon's length; past
    // the last one it stays at that edge's end.
    const int edges = polygon.getPointCount() - 1;
    if (edges <= 0) {
        return polygon.getPoint(walk.vertex);
    }
    for (;;) {
        const int from = walk.vertex;
        const int to = polygon.nextIndex(from);
        const PointF a = polygon.getPoint(from);
        const PointF b = polygon.getPoint(to);
        const double edge =
            std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
        const double along = distance - walk.edgeStart;
        const bool lastEdge = walk.edgesPassed + 1 >= edges;
        if ((along <= edge && edge > 0.0) || lastEdge) {
            walk.travelled = std::max(distance, walk.travelled);
            if (edge <= 0.0) {
                return a;
            }
            const double t = std::clamp(along / edge, 0.0, 1.0);
            return PointF{static_cast<float>(a.x + (static_cast<double>(b.x) - a.x) * t),
                          static_cast<float>(a.y + (static_cast<double>(b.y) - a.y) * t)};
        }
        // The whole edge lies behind the target: count it and go on.
        walk.edgeStart += edge;
        walk.travelled = walk.edgeStart;
        walk.vertex = to;
        ++walk.edgesPassed;
    }
}

void ModifierLocationPolygonicPath::restart() {
    walk_ = Walk{};
    walk_.vertex = startVertex_;
    setElapsed(0);
    setReachedEnd(false);
}

void ModifierLocationPolygonicPath::update(int dtMs) {
    if (isDone()) {
        return; // a node's own list may update it once more
    }
    if (hasReachedEnd()) {
        if (polygon_ && polygon_->getPointCount() > 0) {
            setCurrent(end_.x, end_.y);
            applyPosition(modifier_math::nearestInt(end_.x), modifier_math::nearestInt(end_.y));
        }
        finish();
        return;
    }

    // Interpolation at the time reached so far ...
    float fraction = static_cast<float>(getElapsed()) / static_cast<float>(getDuration());
    if (getEasing() != nullptr) {
        fraction = getEasing()(fraction);
    }
    const PointF point = walkTo(walk_, static_cast<double>(fraction) * totalLength_);
    setCurrent(point.x, point.y);
    applyPosition(modifier_math::nearestInt(point.x), modifier_math::nearestInt(point.y));

    // ... then the clock.
    const long long next = static_cast<long long>(getElapsed()) + std::max(dtMs, 0);
    if (next >= getDuration()) {
        if (loop_) {
            restart();
        } else {
            setElapsed(getDuration());
            setReachedEnd(true);
        }
        return;
    }
    setElapsed(static_cast<int>(next));
}

} // namespace orv
