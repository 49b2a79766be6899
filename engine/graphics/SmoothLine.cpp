#include "engine/graphics/SmoothLine.h"

#include "engine/resources/Image.h"

#include <cmath>
#include <utility>

namespace orv {

namespace {

int truncate(float value) {
    return static_cast<int>(value);
}

int weightOf(float amount) {
    return truncate(amount * 255.0F);
}

} // namespace

void drawSmoothLine(Image& target, const Rect& bounds, float x1, float y1, float x2, float y2,
                    std::uint32_t colour, WeightedPlot plot) {
    const int width = target.getWidth();
    const int height = target.getHeight();
    // Pixels go out only inside the bounds and never on row or column 0.
    const auto put = [&](int x, int y, int weight) {
        if (x > 0 && y > 0 && x >= bounds.x && x < bounds.x + bounds.width && y >= bounds.y &&
            y < bounds.y + bounds.height) {
            plot(target, x, y, colour, weight);
        }
    };
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    if (std::fabs(dy) < std::fabs(dx)) {
        // One step per column. The swap only orders the end points: a line
        // drawn right to left covers the same pixels as left to right.
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const float q = (y2 - y1) / (x2 - x1);
        const int first = truncate(x1 + 0.5F);
        const int last = truncate(x2 + 0.5F);
        float f = y1 + q * (static_cast<float>(first) - x1) + q;
        for (int x = first; x <= last; ++x, f += q) {
            const int ip = truncate(f);
            const float fr = f - static_cast<float>(ip);
            if (x <= 0 || x >= width || ip <= 0 || ip >= height) {
                continue;
            }
            put(x, q > 0.0F && q < 1.0F ? ip : ip + 1, weightOf(1.0F - fr));
        }
        return;
    }
    // One step per row (ties included). A line of no length has gradient 0.
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const float q = y2 != y1 ? (x2 - x1) / (y2 - y1) : 0.0F;
    const int first = truncate(y1 + 0.5F);
    const int last = truncate(y2 + 0.5F);
    float f = x1 + q * (static_cast<float>(first) - y1) + q;
    for (int y = first; y <= last; ++y, f += q) {
        const int ip = truncate(f);
        const float fr = f - static_cast<float>(ip);
        if (y <= 0 || y >= height || ip <= 0 || ip >= width) {
            continue;
        }
        if (q > 0.0F && q < 1.0F) {
            if (ip - 1 > 0) {
                put(ip - 1, y, weightOf(1.0F - fr));
            }
            put(ip, y, weightOf(fr));
        } else {
            put(ip, y, weightOf(1.0F - fr));
            if (ip + 1 < width) {
                put(ip + 1, y, weightOf(fr));
            }
        }
    }
}

} // namespace orv
