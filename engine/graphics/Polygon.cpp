#include "engine/graphics/Polygon.h"

#include "engine/graphics/DrawMath.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace orv {

constinit const ClassRecord Polygon::classRecord{"Polygon", parentRecords<BaseObject::classRecord>};

namespace {

constexpr float closeEnough = 0.001F;

double distance(PointF a, PointF b) {
    return std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
}

// One coordinate of the Hermite segment from p0 to p1 with tangents m0, m1.
float hermite(float p0, float p1, float m0, float m1, float t) {
    const float a = 2.0F * p0 - 2.0F * p1 + m0 + m1;
    const float b = 3.0F * p1 - 3.0F * p0 - 2.0F * m0 - m1;
    return ((a * t + b) * t + m0) * t + p0;
}

// Tangent components are whole pixels, cut toward zero.
float wholeTangent(float difference) {
    return std::trunc(difference);
}

} // namespace

Polygon::Polygon(std::vector<PointF> points) : points_(std::move(points)) {
    computeBounds();
}

void Polygon::setPoints(std::vector<PointF> points) {
    points_ = std::move(points);
    computeBounds();
}

void Polygon::addPoint(float x, float y) {
    points_.push_back(PointF{x, y});
    computeBounds();
}

PointF Polygon::getPoint(int index) const {
    assert(index >= 0 && index < getPointCount() && "polygon point out of range");
    return points_[static_cast<std::size_t>(index)];
}

bool Polygon::isClosed() const {
    if (points_.empty()) {
        return false;
    }
    const PointF first = points_.front();
    const PointF last = points_.back();
    return std::fabs(last.x - first.x) < closeEnough && std::fabs(last.y - first.y) < closeEnough;
}

int Polygon::nextIndex(int index) const {
    const int n = getPointCount();
    if (isClosed()) {
        if (index >= n - 1) {
            return 1;
        }
        return index < n - 2 ? index + 1 : 0;
    }
    return index < n - 1 ? index + 1 : 0;
}

int Polygon::previousIndex(int index) const {
    const int n = getPointCount();
    if (index > 0) {
        return index - 1;
    }
    return isClosed() ? std::max(n - 2, 0) : std::max(n - 1, 0);
}

void Polygon::computeBounds() {
    if (points_.empty()) {
        bounds_ = Rect{};
        return;
    }
    double minX = 2147483648.0;
    double minY = 2147483648.0;
    double maxX = -2147483648.0;
    double maxY = -2147483648.0;
    for (const PointF& point : points_) {
        minX = std::min(minX, static_cast<double>(point.x));
        minY = std::min(minY, static_cast<double>(point.y));
        maxX = std::max(maxX, static_cast<double>(point.x));
        maxY = std::max(maxY, static_cast<double>(point.y));
    }
    bounds_.x = draw_math::nearestInt(minX);
    bounds_.y = draw_math::nearestInt(minY);
    bounds_.width = draw_math::nearestInt(maxX) - bounds_.x;
    bounds_.height = draw_math::nearestInt(maxY) - bounds_.y;
}

double Polygon::length() const {
    double total = 0.0;
    for (int i = 0; i + 1 < getPointCount(); ++i) {
        total += distance(getPoint(i), getPoint(nextIndex(i)));
    }
    return total;
}

bool Polygon::buildPath(int firstIndex, int lastIndex, int samplesPerSegment, bool clampEnds) {
    const int first = std::max(firstIndex, 0);
    const int last = std::min(lastIndex, getPointCount() - 1);
    if (last - first < 1 || samplesPerSegment < 1) {
        return false;
    }
    std::vector<PointF> curve;
    curve.reserve(static_cast<std::size_t>(last - first + 1) *
                  (static_cast<std::size_t>(samplesPerSegment) + 1));
    // Segment k runs from its previous vertex p to k, the first one into the
    // first vertex (round from the end when that is vertex 0); the tangent at
    // a vertex is the difference of its neighbours.
    for (int k = first; k <= last; ++k) {
        const int p = previousIndex(k);
        const PointF p0 = getPoint(p);
        const PointF p1 = getPoint(k);
        const PointF before = getPoint(previousIndex(p));
        const PointF after = getPoint(nextIndex(k));
        PointF m0{wholeTangent(p1.x - before.x), wholeTangent(p1.y - before.y)};
        PointF m1{wholeTangent(after.x - p0.x), wholeTangent(after.y - p0.y)};
        if (clampEnds && p == first) {
            m0 = PointF{};
        }
        if (clampEnds && k == last) {
            m1 = PointF{};
        }
        // Parameters from whole sample numbers, so that t = 1 is met exactly.
        for (int sample = 0; sample <= samplesPerSegment; ++sample) {
            const float t = static_cast<float>(sample) / static_cast<float>(samplesPerSegment);
            curve.push_back(
                PointF{hermite(p0.x, p1.x, m0.x, m1.x, t), hermite(p0.y, p1.y, m0.y, m1.y, t)});
        }
    }
    setPoints(std::move(curve));
    return true;
}

} // namespace orv
