#include "tools/media/Paint.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv::media {

namespace {

float clamp01(float v) {
    return std::clamp(v, 0.0F, 1.0F);
}

// Squared distances along one line (Felzenszwalb and Huttenlocher's lower
// envelope of parabolas): d[i] = min over j of (i - j)^2 + f[j].
void distanceLine(const std::vector<double>& f, std::vector<double>& d, std::vector<int>& v,
                  std::vector<double>& z) {
    const int n = static_cast<int>(f.size());
    constexpr double inf = std::numeric_limits<double>::infinity();
    int k = 0;
    v[0] = 0;
    z[0] = -inf;
    z[1] = inf;
    for (int q = 1; q < n; ++q) {
        if (f[static_cast<std::size_t>(q)] == inf) {
            continue;
        }
        while (true) {
            const int p = v[static_cast<std::size_t>(k)];
            if (f[static_cast<std::size_t>(p)] == inf) {
                // The envelope so far is empty: start it here.
                v[static_cast<std::size_t>(k)] = q;
                z[static_cast<std::size_t>(k)] = -inf;
                z[static_cast<std::size_t>(k) + 1] = inf;
                break;
            }
            const double s = ((f[static_cast<std::size_t>(q)] + static_cast<double>(q) * q) -
                              (f[static_cast<std::size_t>(p)] + static_cast<double>(p) * p)) /
                             (2.0 * q - 2.0 * p);
            if (s <= z[static_cast<std::size_t>(k)] && k > 0) {
                --k;
                continue;
            }
            ++k;
            v[static_cast<std::size_t>(k)] = q;
            z[static_cast<std::size_t>(k)] = s;
            z[static_cast<std::size_t>(k) + 1] = inf;
            break;
        }
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[static_cast<std::size_t>(k) + 1] < q) {
            ++k;
        }
        const int p = v[static_cast<std::size_t>(k)];
        const double fp = f[static_cast<std::size_t>(p)];
        d[static_cast<std::size_t>(q)] =
            fp == inf ? inf : (q - p) * static_cast<double>(q - p) + fp;
    }
}

// Distance from every pixel to the nearest pixel where `target` holds, over
// the field grown by one pixel on each side (that border counts as a target
// when `borderIsTarget`).
template <class Target>
Field distanceTo(const Field& mask, Target target, bool borderIsTarget) {
    const int w = mask.width + 2;
    const int h = mask.height + 2;
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<double> grid(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const bool hit = border ? borderIsTarget : target(mask.at(x - 1, y - 1));
            grid[static_cast<std::size_t>(y) * w + x] = hit ? 0.0 : inf;
        }
    }
    const int longest = std::max(w, h);
    std::vector<double> f(static_cast<std::size_t>(longest));
    std::vector<double> d(static_cast<std::size_t>(longest));
    std::vector<int> v(static_cast<std::size_t>(longest));
    std::vector<double> z(static_cast<std::size_t>(longest) + 1);
    for (int x = 0; x < w; ++x) {
        f.resize(static_cast<std::size_t>(h));
        d.resize(static_cast<std::size_t>(h));
        for (int y = 0; y < h; ++y) {
            f[static_cast<std::size_t>(y)] = grid[static_cast<std::size_t>(y) * w + x];
        }
        distanceLine(f, d, v, z);
        for (int y = 0; y < h; ++y) {
            grid[static_cast<std::size_t>(y) * w + x] = d[static_cast<std::size_t>(y)];
        }
    }
    f.resize(static_cast<std::size_t>(w));
    d.resize(static_cast<std::size_t>(w));
    Field out(mask.width, mask.height);
    const double cap = static_cast<double>(w) * w + static_cast<double>(h) * h;
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 0; x < w; ++x) {
            f[static_cast<std::size_t>(x)] = grid[static_cast<std::size_t>(y) * w + x];
        }
        distanceLine(f, d, v, z);
        for (int x = 1; x < w - 1; ++x) {
            out(x - 1, y - 1) =
                static_cast<float>(std::sqrt(std::min(d[static_cast<std::size_t>(x)], cap)));
        }
    }
    return out;
}

} // namespace

Rgba hex(std::uint32_t rgb, float alpha) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0F,
            static_cast<float>((rgb >> 8) & 0xFF) / 255.0F, static_cast<float>(rgb & 0xFF) / 255.0F,
            alpha};
}

Rgba mix(const Rgba& p, const Rgba& q, float t) {
    t = clamp01(t);
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
            p.a + (q.a - p.a) * t};
}

Rgba shade(const Rgba& c, float amount) {
    return amount >= 0 ? mix(c, {1, 1, 1, c.a}, amount) : mix(c, {0, 0, 0, c.a}, -amount);
}

Rgba desaturate(const Rgba& c, float amount) {
    const float grey = 0.30F * c.r + 0.59F * c.g + 0.11F * c.b;
    return mix(c, {grey, grey, grey, c.a}, amount);
}

std::uint32_t toPixel(const Rgba& c) {
    const auto channel = [](float v) {
        return static_cast<std::uint32_t>(std::lround(clamp01(v) * 255.0F));
    };
    return (channel(c.a) << 24) | (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

Rgba fromPixel(std::uint32_t argb) {
    return hex(argb & 0xFFFFFFU, static_cast<float>(argb >> 24) / 255.0F);
}

Region Region::grown(int margin, int width, int height) const {
    if (isEmpty()) {
        return *this;
    }
    return {std::max(0, left - margin), std::max(0, top - margin), std::min(width, right + margin),
            std::min(height, bottom + margin)};
}

Region coveredRegion(const Field& field) {
    Region region{field.width, field.height, 0, 0};
    for (int y = 0; y < field.height; ++y) {
        const float* row = field.values.data() + static_cast<std::ptrdiff_t>(y) * field.width;
        for (int x = 0; x < field.width; ++x) {
            if (row[x] != 0.0F) {
                region.left = std::min(region.left, x);
                region.right = std::max(region.right, x + 1);
                region.top = std::min(region.top, y);
                region.bottom = y + 1;
            }
        }
    }
    return region.isEmpty() ? Region{} : region;
}

float Field::clampedAt(int x, int y) const {
    x = std::clamp(x, 0, width - 1);
    y = std::clamp(y, 0, height - 1);
    return values[static_cast<std::size_t>(y) * width + x];
}

ColorImage Pixmap::toImage() const {
    ColorImage image(width, height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        image.pixels[i] = pixels[i].a > 0.0F ? toPixel(pixels[i]) : 0U;
    }
    return image;
}

Pixmap Pixmap::fromImage(const ColorImage& image) {
    Pixmap out(image.width, image.height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        out.pixels[i] = fromPixel(image.pixels[i]);
    }
    return out;
}

Rgba over(const Rgba& dst, const Rgba& src, float coverage) {
    const float sa = clamp01(src.a * coverage);
    if (sa <= 0.0F) {
        return dst;
    }
    const float da = dst.a * (1.0F - sa);
    const float a = sa + da;
    if (a <= 0.0F) {
        return {0, 0, 0, 0};
    }
    return {(src.r * sa + dst.r * da) / a, (src.g * sa + dst.g * da) / a,
            (src.b * sa + dst.b * da) / a, a};
}

void composite(Pixmap& target, const Pixmap& source, int x, int y, float opacity) {
    for (int j = std::max(0, -y); j < source.height && y + j < target.height; ++j) {
        for (int i = std::max(0, -x); i < source.width && x + i < target.width; ++i) {
            target(x + i, y + j) = over(target.at(x + i, y + j), source.at(i, j), opacity);
        }
    }
}

void fill(Pixmap& target, const Field& mask, const Rgba& color) {
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            target(x, y) = over(target.at(x, y), color, mask.at(x, y));
        }
    }
}

void fill(Pixmap& target, const Field& mask, const Pixmap& material, int x, int y) {
    for (int j = std::max(0, -y); j < material.height && y + j < target.height; ++j) {
        for (int i = std::max(0, -x); i < material.width && x + i < target.width; ++i) {
            target(x + i, y + j) =
                over(target.at(x + i, y + j), material.at(i, j), mask.at(x + i, y + j));
        }
    }
}

Pixmap crop(const Pixmap& source, int x, int y, int w, int h) {
    Pixmap out(w, h);
    composite(out, source, -x, -y);
    return out;
}

Pixmap masked(const Pixmap& source, const Field& mask) {
    Pixmap out = source;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out(x, y).a *= clamp01(mask.at(x, y));
        }
    }
    return out;
}

Pixmap downsample(const Pixmap& source, int factor) {
    Pixmap out(source.width / factor, source.height / factor);
    const auto count = static_cast<float>(factor * factor);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < factor; ++j) {
                for (int i = 0; i < factor; ++i) {
                    const Rgba& c = source.at(x * factor + i, y * factor + j);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            out(x, y) = a > 0.0F ? Rgba{r / a, g / a, b / a, a / count} : Rgba{0, 0, 0, 0};
        }
    }
    return out;
}

Field blur(const Field& field, double sigma) {
    if (sigma <= 0.0) {
        return field;
    }
    const int radius = static_cast<int>(std::ceil(3.0 * sigma));
    std::vector<float> kernel(static_cast<std::size_t>(2 * radius + 1));
    double total = 0.0;
    for (int k = -radius; k <= radius; ++k) {
        total += std::exp(-(k * k) / (2.0 * sigma * sigma));
    }
    for (std::size_t i = 0; i < kernel.size(); ++i) {
        const int k = static_cast<int>(i) - radius;
        kernel[i] = static_cast<float>(std::exp(-(k * k) / (2.0 * sigma * sigma)) / total);
    }
    const float* weights = kernel.data() + radius; // weights[k] for k in -radius..radius
    const Region region = coveredRegion(field).grown(radius, field.width, field.height);
    Field across(field.width, field.height);
    Field out(field.width, field.height);
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            float sum = 0.0F;
            for (int k = -radius; k <= radius; ++k) {
                sum += field.at(x + k, y) * weights[k];
            }
            across(x, y) = sum;
        }
    }
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            float sum = 0.0F;
            for (int k = -radius; k <= radius; ++k) {
                sum += across.at(x, y + k) * weights[k];
            }
            out(x, y) = sum;
        }
    }
    return out;
}

Field alphaOf(const Pixmap& picture) {
    Field out(picture.width, picture.height);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        out.values[i] = picture.pixels[i].a;
    }
    return out;
}

Field insideDistance(const Field& mask) {
    return distanceTo(
        mask, [](float v) { return v < 0.5F; }, true);
}

Field outsideDistance(const Field& mask) {
    return distanceTo(
        mask, [](float v) { return v >= 0.5F; }, false);
}

} // namespace orv::media
