#pragma once

#include "engine/graphics/Graphics.h"

#include <cstddef>
#include <span>
#include <vector>

namespace orv {

/// The scan converter behind `Graphics::fillPolygon` and
/// `Graphics::setChannelPolygon`. It samples every scanline at its centre
/// (y + 0.5) with an active-edge table and fills the pixels whose centres
/// lie inside by the even-odd rule, into a coverage buffer of the target's
/// size (0 untouched, 255 inside, 1..254 partly covered; values of 0 and
/// below count as untouched). The smooth converter then gives the pixels at
/// the left and right end of every span a partial coverage: one pixel for an
/// edge steeper than 45 degrees, a ramp of step, 2 step, ... (step =
/// 255 / (ceil(|dx|) + 1)) across the pixels a flatter edge crosses, except
/// where the neighbouring scanline shows the pixel inside already.
///
/// Points are in target pixels (the caller adds the translation); pixels
/// outside the target are not covered. A polygon with a non-finite
/// coordinate covers nothing. One filler serves one fill; fills on several
/// threads need fillers of their own.
///
///     PolygonFiller filler(target.getWidth(), target.getHeight());
///     filler.scan(points, smooth);
///     int c = filler.coverageAt(10, 10);
class PolygonFiller {
public:
    PolygonFiller(int width, int height);

    /// Covers the polygon through `points` (edge i from point i to i + 1, the
    /// last back to point 0) with the plain or the smooth converter.
    void scan(std::span<const PointF> points, bool smooth);

    /// The coverage of (x, y); 0 outside the target.
    [[nodiscard]] int coverageAt(int x, int y) const;

    /// Draws the coverage through `graphics` with its translation set aside:
    /// covered pixels are plotted at the current alpha g, partly covered ones
    /// at (coverage * g) >> 8; the alpha is put back afterwards.
    void composite(Graphics& graphics) const;
    /// The same writing one channel: `value` (its low byte) where covered,
    /// (value * coverage) >> 8 where partly covered.
    void compositeChannel(Graphics& graphics, int channel, int value) const;

private:
    struct ActiveEdge {
        double x;  // at the centre of the current scanline
        double dx; // change of x per scanline
        int index; // the edge from point index to the next point
    };

    void scanInterior();
    void scanSmoothEdges();
    // Brings the active edges up to scanline y and sorts them by x.
    void updateEdges(int y);
    void insertEdge(int index, int y);
    void removeEdge(int index);
    void rampLeftEdge(const ActiveEdge& edge, int xl, int y, int xr);
    void rampRightEdge(const ActiveEdge& edge, int xr, int y, int xl);
    void set(int x, int y, int value);
    [[nodiscard]] int next(int index) const;
    [[nodiscard]] int previous(int index) const;
    void startScan();

    template <class Draw>
    void forEachCovered(Draw draw) const;

    int width_;
    int height_;
    std::vector<int> coverage_;
    std::span<const PointF> points_;
    std::vector<int> order_; // vertex indices sorted by y
    std::size_t nextVertex_ = 0;
    std::vector<ActiveEdge> active_;
};

} // namespace orv
