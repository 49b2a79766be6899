#include "game/screen/RectangleUnion.h"

#include <algorithm>
#include <cstddef>

namespace orv {

Rect intersectRects(const Rect& a, const Rect& b) {
    const int x = std::max(a.x, b.x);
    const int y = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    return Rect{x, y, right - x, bottom - y};
}

std::vector<Rect> rectangleUnion(const std::vector<Rect>& rects) {
    std::vector<Rect> input;
    input.reserve(rects.size());
    for (const Rect& r : rects) {
        if (!isEmptyRect(r)) {
            input.push_back(r);
        }
    }
    if (input.size() <= 1) {
        return input;
    }

    std::vector<int> xs;
    std::vector<int> ys;
    xs.reserve(input.size() * 2);
    ys.reserve(input.size() * 2);
    for (const Rect& r : input) {
        xs.push_back(r.x);
        xs.push_back(r.x + r.width);
        ys.push_back(r.y);
        ys.push_back(r.y + r.height);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    // The index of each rectangle's left and right edge among the x edges.
    std::vector<std::size_t> left(input.size());
    std::vector<std::size_t> right(input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        left[i] = static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.end(), input[i].x) -
                                           xs.begin());
        right[i] = static_cast<std::size_t>(
            std::lower_bound(xs.begin(), xs.end(), input[i].x + input[i].width) - xs.begin());
    }

    std::vector<Rect> out;
    // Coverage per x interval of the current band (a difference array), and
    // the rectangles of the band above, which a repeated run extends.
    std::vector<int> cover(xs.size() + 1);
    std::vector<std::size_t> above;
    std::vector<std::size_t> current;
    for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
        const int top = ys[j];
        const int bottom = ys[j + 1];
        std::fill(cover.begin(), cover.end(), 0);
        for (std::size_t i = 0; i < input.size(); ++i) {
            if (input[i].y <= top && top < input[i].y + input[i].height) {
                ++cover[left[i]];
                --cover[right[i]];
            }
        }
        current.clear();
        // Turn the differences into the depth of each interval [xs[k], xs[k+1]).
        for (std::size_t k = 1; k < cover.size(); ++k) {
            cover[k] += cover[k - 1];
        }
        std::size_t aboveAt = 0;
        std::size_t k = 0;
        while (k + 1 < xs.size()) {
            if (cover[k] <= 0) {
                ++k;
                continue;
            }
            const int start = xs[k];
            while (k + 1 < xs.size() && cover[k] > 0) {
                ++k;
            }
            const Rect run{start, top, xs[k] - start, bottom - top};
            // Runs of a band are in x order, so the matching rectangle of the
            // band above (if any) is found by walking that band once.
            while (aboveAt < above.size() && out[above[aboveAt]].x < run.x) {
                ++aboveAt;
            }
            if (aboveAt < above.size() && out[above[aboveAt]].x == run.x &&
                out[above[aboveAt]].width == run.width &&
                out[above[aboveAt]].y + out[above[aboveAt]].height == top) {
                out[above[aboveAt]].height += run.height;
                current.push_back(above[aboveAt]);
            } else {
                current.push_back(out.size());
                out.push_back(run);
            }
        }
        above.swap(current);
    }
    return out;
}

} // namespace orv
