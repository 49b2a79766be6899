#include "engine/graphics/PolygonFiller.h"

#include "engine/graphics/DrawMath.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace orv {

namespace {

// A double brought into [low, high] before it becomes an int: the columns
// and rows beyond the target all behave like its nearest edge.
int clampedInt(double value, int low, int high) {
    return static_cast<int>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
}

bool allFinite(std::span<const PointF> points) {
    return std::all_of(points.begin(), points.end(), [](PointF point) {
        return std::isfinite(point.x) && std::isfinite(point.y);
    });
}

} // namespace

PolygonFiller::PolygonFiller(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {}

void PolygonFiller::scan(std::span<const PointF> points, bool smooth) {
    coverage_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    if (points.empty() || width_ == 0 || height_ == 0 || !allFinite(points)) {
        return;
    }
    points_ = points;
    scanInterior();
    if (smooth) {
        scanSmoothEdges();
    }
    points_ = {};
}

int PolygonFiller::coverageAt(int x, int y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height_ || coverage_.empty()) {
        return 0;
    }
    return coverage_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                     static_cast<std::size_t>(x)];
}

void PolygonFiller::set(int x, int y, int value) {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) {
        return;
    }
    coverage_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
              static_cast<std::size_t>(x)] = value;
}

int PolygonFiller::next(int index) const {
    return index + 1 < static_cast<int>(points_.size()) ? index + 1 : 0;
}

int PolygonFiller::previous(int index) const {
    return index > 0 ? index - 1 : static_cast<int>(points_.size()) - 1;
}

void PolygonFiller::startScan() {
    order_.resize(points_.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(),
                     [this](int a, int b) { return points_[a].y < points_[b].y; });
    nextVertex_ = 0;
    active_.clear();
}

void PolygonFiller::updateEdges(int y) {
    const double centre = y + 0.5;
    // Every vertex at or above this scanline's centre ends the edges that
    // came down to it and starts those that go on below it. An edge lying
    // wholly between two centres is never active.
    while (nextVertex_ < order_.size() && points_[order_[nextVertex_]].y <= centre) {
        const int i = order_[nextVertex_];
        const int before = previous(i);
        if (points_[before].y <= centre - 1.0) {
            removeEdge(before);
        } else if (points_[before].y > centre) {
            insertEdge(before, y);
        }
        const int after = next(i);
        if (points_[after].y <= centre - 1.0) {
            removeEdge(i);
        } else if (points_[after].y > centre) {
            insertEdge(i, y);
        }
        ++nextVertex_;
    }
    std::stable_sort(active_.begin(), active_.end(),
                     [](const ActiveEdge& a, const ActiveEdge& b) { return a.x < b.x; });
}

void PolygonFiller::insertEdge(int index, int y) {
    PointF p = points_[next(index)];
    PointF q = points_[index];
    if (q.y < p.y) {
        std::swap(p, q);
    }
    if (q.y == p.y) {
        return; // horizontal: crosses no scanline centre
    }
    const double dx = (static_cast<double>(q.x) - p.x) / (static_cast<double>(q.y) - p.y);
    const double x = dx * (y + 0.5 - p.y) + p.x;
    active_.push_back(ActiveEdge{x, dx, index});
}

void PolygonFiller::removeEdge(int index) {
    const auto found =
        std::find_if(active_.begin(), active_.end(),
                     [index](const ActiveEdge& edge) { return edge.index == index; });
    if (found != active_.end()) {
        active_.erase(found);
    }
}

void PolygonFiller::scanInterior() {
    startScan();
    const double top = std::ceil(points_[order_.front()].y - 0.5);
    const double bottom = std::floor(points_[order_.back()].y - 0.5);
    const int firstRow = clampedInt(top, 0, height_);
    const int lastRow = clampedInt(bottom, -1, height_ - 1);
    for (int y = firstRow; y <= lastRow; ++y) {
        updateEdges(y);
        for (std::size_t j = 0; j + 1 < active_.size(); j += 2) {
            const int xl = clampedInt(std::ceil(active_[j].x - 0.5), 0, width_);
            const int xr = clampedInt(std::floor(active_[j + 1].x - 0.5), -1, width_ - 1);
            for (int x = xl; x <= xr; ++x) {
                set(x, y, 255);
            }
        }
        for (ActiveEdge& edge : active_) {
            edge.x += edge.dx;
        }
    }
}

void PolygonFiller::scanSmoothEdges() {
    startScan();
    const int firstRow = std::max(0, clampedInt(points_[order_.front()].y - 0.5, -1, height_));
    const int lastRow = std::min(height_, clampedInt(points_[order_.back()].y - 0.5, -1, height_));
    for (int y = firstRow; y <= lastRow; ++y) {
        updateEdges(y);
        for (std::size_t j = 0; j + 1 < active_.size(); j += 2) {
            const int xl = std::max(0, clampedInt(active_[j].x, -2, width_ + 2));
            const int xr =
                std::min(width_, clampedInt(active_[j + 1].x - 0.000001, -2, width_ + 2));
            if (xl <= xr) {
                rampLeftEdge(active_[j], xl, y, xr);
                rampRightEdge(active_[j + 1], xr, y, xl);
            }
        }
        for (ActiveEdge& edge : active_) {
            edge.x += edge.dx;
        }
    }
}

void PolygonFiller::rampLeftEdge(const ActiveEdge& edge, int xl, int y, int xr) {
    const double a = std::fabs(edge.dx);
    if (a <= 1.0) {
        const double value = (1.0 - (edge.x - xl) - a * 0.5) * 255.0;
        set(xl, y, draw_math::truncToInt(std::min(255.0, value)));
        return;
    }
    // A flat edge crosses several pixels of the scanline: a rising ramp,
    // left out where the neighbouring scanline is inside already.
    const int step = 255 / (clampedInt(std::ceil(a), 0, 1 << 20) + 1);
    int v = 0;
    for (int k = 0; k < a; ++k) {
        if (xl + k > xr) {
            break;
        }
        v += step;
        if (edge.dx >= 0.0) {
            if (coverageAt(xl + k, y + 1) == 0) {
                set(xl + k, y, v);
            }
        } else if (coverageAt(xl + k + 1, y - 1) == 0) {
            set(xl + k, y, v);
        }
    }
}

void PolygonFiller::rampRightEdge(const ActiveEdge& edge, int xr, int y, int xl) {
    const double a = std::fabs(edge.dx);
    if (a <= 1.0) {
        const double value = (a * 0.5 + (edge.x - xr)) * 255.0;
        set(xr, y, draw_math::truncToInt(std::min(255.0, value)));
        return;
    }
    const int step = 255 / (clampedInt(std::ceil(a), 0, 1 << 20) + 1);
    int v = 0;
    for (int k = 0; k < a; ++k) {
        const int p = xr + 1 - k;
        if (p < xl) {
            break;
        }
        v += step;
        if (edge.dx < 0.0) {
            if (coverageAt(p, y + 1) == 0) {
                set(p, y, v);
            }
        } else if (coverageAt(p - 1, y - 1) == 0) {
            set(p, y, v);
        }
    }
}

template <class Draw>
void PolygonFiller::forEachCovered(Draw draw) const {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const int c = coverage_.empty() ? 0 : coverageAt(x, y);
            if (c > 0) {
                draw(x, y, std::min(c, 255));
            }
        }
    }
}

void PolygonFiller::composite(Graphics& graphics) const {
    const int g = graphics.getAlpha();
    const int savedX = graphics.getTranslateX();
    const int savedY = graphics.getTranslateY();
    graphics.setTranslation(0, 0);
    forEachCovered([&graphics, g](int x, int y, int c) {
        graphics.setAlpha(c == 255 ? g : c * g >> 8);
        graphics.plot(x, y);
    });
    graphics.setAlpha(g);
    graphics.setTranslation(savedX, savedY);
}

void PolygonFiller::compositeChannel(Graphics& graphics, int channel, int value) const {
    const int byte = value & 0xFF;
    const int savedX = graphics.getTranslateX();
    const int savedY = graphics.getTranslateY();
    graphics.setTranslation(0, 0);
    forEachCovered([&graphics, channel, byte](int x, int y, int c) {
        graphics.setChannelPixel(channel, c == 255 ? byte : byte * c >> 8, x, y);
    });
    graphics.setTranslation(savedX, savedY);
}

} // namespace orv
