#pragma once

#include "engine/core/RefPtr.h"
#include "engine/graphics/Polygon.h"
#include "engine/scene/ModifierLocation.h"

namespace orv {

/// Moves its target along the edges of a polygon at constant speed (or
/// smoothstep-eased): from the start vertex, vertex after vertex
/// (`Polygon::nextIndex`), covering the polygon's length over the duration.
/// However long a frame, the target stays on the path: the distance of every
/// edge passed is counted. Each update places the target at the point for the
/// time elapsed so far (rounded to nearest); the update after the duration has
/// passed places it at the end of the path and finishes, unless the modifier
/// loops, in which case it starts over from the start vertex and never
/// finishes. The end of an open path is its last point (a walk from a later
/// vertex comes round over the first point and then ends there); a closed
/// path ends where its walk began, once round.
///
///     RefPtr<Polygon> square(new Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}));
///     star->addModifier(new ModifierLocationPolygonicPath(square.get(), 0, 2000, true, false));
///
/// The polygon's points must not change while the modifier runs.
class ModifierLocationPolygonicPath : public ModifierLocation {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Holds a reference to `polygon` (null or empty: the first update
    /// finishes without moving). `startVertex` must be a point of it (checked;
    /// one outside is logged and 0 is used). A duration of 0 or less goes to
    /// the end of the path in the first update and finishes, looping or not.
    ModifierLocationPolygonicPath(Polygon* polygon, int startVertex, int durationMs, bool loop,
                                  bool smooth);

    void update(int dtMs) override;

    [[nodiscard]] Polygon* getPolygon() const { return polygon_.get(); }
    /// The polygon's length, in its points' units.
    [[nodiscard]] double getTotalLength() const { return totalLength_; }
    /// The distance covered in the current run.
    [[nodiscard]] double getTravelled() const { return walk_.travelled; }
    [[nodiscard]] int getCurrentVertex() const { return walk_.vertex; }
    [[nodiscard]] bool isLooping() const { return loop_; }

private:
    // Where a run along the path stands: the vertex the current edge leaves,
    // the distance at which that edge starts and the edges passed so far.
    struct Walk {
        int vertex = 0;
        double edgeStart = 0.0;
        double travelled = 0.0;
        int edgesPassed = 0;
    };

    // Moves `walk` on to `distance` (not less than it was) and returns the
    // point there.
    [[nodiscard]] PointF walkTo(Walk& walk, double distance) const;
    void restart();

    RefPtr<Polygon> polygon_;
    double totalLength_ = 0.0;
    int startVertex_ = 0;
    bool loop_;
    Walk walk_;
    // The point at the end of a run: the last point of an open path, the start
    // vertex of a closed one.
    PointF end_{};
};

} // namespace orv
