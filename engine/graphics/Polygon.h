#pragma once

#include "engine/core/BaseObject.h"
#include "engine/graphics/Graphics.h"

#include <span>
#include <vector>

namespace orv {

/// A list of points with sub-pixel coordinates, open or closed, with its
/// bounding box: the path of `ModifierLocationPolygonicPath` and the shape of
/// the polygon drawing operations. A polygon is closed when its last point
/// repeats its first (within 0.001); the edge back to the first point is then
/// the last edge of the path, and the repeated point is no vertex of its own.
/// The bounding box follows every change of the points.
///
///     RefPtr<Polygon> path(new Polygon({{0, 0}, {50, 80}, {100, 0}}));
///     path->buildPath(0, 2, 10, false);   // a smooth curve through the three
///     double pixels = path->length();
class Polygon : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    Polygon() = default;
    explicit Polygon(std::vector<PointF> points);

    /// Replaces the points (coordinates in pixels, any space the user chooses).
    void setPoints(std::vector<PointF> points);
    void addPoint(float x, float y);
    [[nodiscard]] int getPointCount() const { return static_cast<int>(points_.size()); }
    [[nodiscard]] std::span<const PointF> getPoints() const { return points_; }
    /// Point `index`; 0 <= index < `getPointCount()` (asserted).
    [[nodiscard]] PointF getPoint(int index) const;

    /// True when there are points and the last lies within 0.001 of the first
    /// in both x and y.
    [[nodiscard]] bool isClosed() const;
    /// The vertex after `index` along the path: for a closed polygon of n
    /// points, 1 after n - 1, 0 after n - 2 (the repeated point is skipped),
    /// else index + 1; for an open one index + 1, and 0 after the last.
    [[nodiscard]] int nextIndex(int index) const;
    /// The vertex before `index`: index - 1, and before 0 the last point of an
    /// open polygon or the last vertex (n - 2) of a closed one.
    [[nodiscard]] int previousIndex(int index) const;

    /// Recomputes the bounding box: the nearest integers (ties to even) of
    /// the least x and y, and of the greatest minus those. Zero for no
    /// points. The setters call it.
    void computeBounds();
    /// The bounding box, in the points' space.
    [[nodiscard]] const Rect& getBounds() const { return bounds_; }

    /// The sum of the n - 1 edges from each point i < n - 1 to `nextIndex(i)`:
    /// the open path through all points, or the closed loop once round.
    [[nodiscard]] double length() const;

    /// Replaces the points by a smooth curve through the vertices from
    /// `firstIndex` to `lastIndex` (limited to the points there are): for
    /// each vertex k of the range one cubic Hermite segment from the vertex
    /// before it (`previousIndex`, so the first segment of a range starting
    /// at 0 comes round from the end: the closing edge of a closed polygon)
    /// to k, sampled at `samplesPerSegment` + 1 evenly spaced parameters
    /// including both ends (so neighbouring segments share a point). The
    /// tangent at a vertex is the difference of its two neighbours, truncated
    /// to whole pixels; with `clampEnds` the tangent is zero where a segment
    /// leaves the first index and where one reaches the last. The curve
    /// replaces all the points. Returns false, changing nothing, when fewer
    /// than two vertices are in the range or `samplesPerSegment` is below 1.
    [[nodiscard]] bool buildPath(int firstIndex, int lastIndex, int samplesPerSegment,
                                 bool clampEnds);

private:
    Rect bounds_;
    std::vector<PointF> points_;
};

} // namespace orv
