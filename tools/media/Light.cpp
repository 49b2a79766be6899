#include "tools/media/Light.h"

#include <algorithm>
#include <cmath>

namespace orv::media {

namespace {

constexpr double pi = 3.14159265358979323846;

Vec3 normalised(Vec3 v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / length, v.y / length, v.z / length};
}

double dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// `field` moved by (dx, dy) pixels, read between pixels bilinearly.
Field shifted(const Field& field, double dx, double dy) {
    Field out(field.width, field.height);
    const double fx = std::floor(dx);
    const double fy = std::floor(dy);
    const auto tx = static_cast<float>(dx - fx);
    const auto ty = static_cast<float>(dy - fy);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    for (int y = 0; y < field.height; ++y) {
        for (int x = 0; x < field.width; ++x) {
            const float a = field.at(x - ix, y - iy);
            const float b = field.at(x - ix - 1, y - iy);
            const float c = field.at(x - ix, y - iy - 1);
            const float d = field.at(x - ix - 1, y - iy - 1);
            const float top = a + (b - a) * tx;
            const float bottom = c + (d - c) * tx;
            out(x, y) = top + (bottom - top) * ty;
        }
    }
    return out;
}

// The light's fixed terms, worked out once per picture.
struct LightTerms {
    Vec3 light;
    Vec3 half;
    double levelSpecular;
};

LightTerms termsOf(const Lighting& lighting) {
    const Vec3 l = lightDirection();
    const Vec3 half = normalised({l.x, l.y, l.z + 1.0});
    return {l, half, std::pow(half.z, lighting.shininess)};
}

// `c` on a surface of slope (gx, gy) under the light; alpha is kept.
Rgba lit(Rgba c, double gx, double gy, const Lighting& lighting, const LightTerms& terms) {
    if (gx == 0.0 && gy == 0.0) {
        return c;
    }
    const Vec3 n = normalised({-gx, -gy, 1.0});
    // Brighter or darker than a level surface, scaled so that a slope turned
    // straight to the light reaches `diffuse`.
    const double level = terms.light.z;
    const double turn = (dot(n, terms.light) - level) / (1.0 - level);
    const float alpha = c.a;
    if (turn >= 0) {
        c = mix(c, lighting.highlight, static_cast<float>(turn) * lighting.diffuse);
    } else {
        c = shade(c, static_cast<float>(std::max(-1.0, turn)) * lighting.diffuse);
    }
    if (lighting.specular > 0.0F) {
        const double mirror = std::pow(std::max(0.0, dot(n, terms.half)), lighting.shininess);
        const double gleam =
            std::max(0.0, mirror - terms.levelSpecular) / (1.0 - terms.levelSpecular);
        c = mix(c, lighting.highlight, static_cast<float>(gleam) * lighting.specular);
    }
    c.a = alpha;
    return c;
}

double slopeX(const Field& height, int x, int y) {
    return (height.clampedAt(x + 1, y) - height.clampedAt(x - 1, y)) / 2.0;
}

double slopeY(const Field& height, int x, int y) {
    return (height.clampedAt(x, y + 1) - height.clampedAt(x, y - 1)) / 2.0;
}

} // namespace

Vec3 lightDirection() {
    return normalised({-0.45, -0.75, 0.95});
}

Offset shadowOffset(double elevation) {
    const Vec3 l = lightDirection();
    return {-l.x / l.z * elevation, -l.y / l.z * elevation};
}

Field bevel(const Field& mask, double width, double height, Profile profile) {
    // The distances are needed only around the shape.
    const Region region = coveredRegion(mask).grown(1, mask.width, mask.height);
    Field out(mask.width, mask.height);
    if (region.isEmpty()) {
        return out;
    }
    Field local(region.right - region.left, region.bottom - region.top);
    for (int y = 0; y < local.height; ++y) {
        for (int x = 0; x < local.width; ++x) {
            local(x, y) = mask.at(region.left + x, region.top + y);
        }
    }
    const Field distance = insideDistance(local);
    width = std::max(width, 0.5);
    for (int y = 0; y < local.height; ++y) {
        for (int x = 0; x < local.width; ++x) {
            const float cover = local.at(x, y);
            if (cover <= 0.0F) {
                continue;
            }
            // The pixel next to the outside is half a pixel from the edge.
            const double t = std::clamp((distance.at(x, y) - 0.5) / width, 0.0, 1.0);
            double h = 0.0;
            switch (profile) {
            case Profile::Round:
                h = std::sqrt(1.0 - (1.0 - t) * (1.0 - t));
                break;
            case Profile::Linear:
                h = t;
                break;
            case Profile::Cove:
                h = 1.0 - std::sqrt(1.0 - t * t);
                break;
            case Profile::Bead:
                h = std::sin(t * pi);
                break;
            }
            out(region.left + x, region.top + y) =
                static_cast<float>(h * height) * std::min(1.0F, cover * 2.0F);
        }
    }
    return out;
}

Field cushion(const Field& mask, double sigma, double height) {
    Field out = blur(mask, sigma);
    for (std::size_t i = 0; i < out.values.size(); ++i) {
        out.values[i] *= static_cast<float>(height);
    }
    return out;
}

void raise(Field& height, const Field& where, const Field& extra) {
    for (std::size_t i = 0; i < height.values.size(); ++i) {
        height.values[i] += extra.values[i] * where.values[i];
    }
}

void light(Pixmap& target, const Field& height, const Lighting& lighting) {
    const LightTerms terms = termsOf(lighting);
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            Rgba& c = target(x, y);
            if (c.a > 0.0F) {
                c = lit(c, slopeX(height, x, y), slopeY(height, x, y), lighting, terms);
            }
        }
    }
}

void paintLit(Pixmap& target, const Pixmap& material, const Field& mask, const Field& height,
              const Lighting& lighting) {
    const LightTerms terms = termsOf(lighting);
    const Region region = coveredRegion(mask);
    for (int y = region.top; y < std::min(region.bottom, target.height); ++y) {
        for (int x = region.left; x < std::min(region.right, target.width); ++x) {
            const float cover = mask.at(x, y);
            if (cover <= 0.0F) {
                continue;
            }
            Rgba c = material.at(x % material.width, y % material.height);
            c = lit(c, slopeX(height, x, y), slopeY(height, x, y), lighting, terms);
            target(x, y) = over(target.at(x, y), c, cover);
        }
    }
}

void castShadow(Pixmap& target, const Field& mask, const Shadow& shadow) {
    const Offset offset = shadowOffset(shadow.elevation);
    const Field cast = blur(shifted(mask, offset.dx, offset.dy), shadow.sigma);
    Rgba color = shadow.color;
    color.a = shadow.opacity;
    fill(target, cast, color);
}

void glow(Pixmap& target, const Field& mask, double sigma, const Rgba& color, float strength) {
    Field soft = blur(mask, sigma);
    for (float& v : soft.values) {
        v = std::min(1.0F, v * strength);
    }
    fill(target, soft, color);
}

void innerShadow(Pixmap& target, const Field& mask, double depth, double sigma, float opacity) {
    // The shadow of the surrounding surface, cast into the hole.
    Field outside(mask.width, mask.height);
    for (std::size_t i = 0; i < outside.values.size(); ++i) {
        outside.values[i] = 1.0F - mask.values[i];
    }
    const Offset offset = shadowOffset(depth);
    const Field cast = blur(shifted(outside, offset.dx, offset.dy), sigma);
    Field inside(mask.width, mask.height);
    for (std::size_t i = 0; i < inside.values.size(); ++i) {
        inside.values[i] = cast.values[i] * mask.values[i];
    }
    fill(target, inside, Rgba{0, 0, 0, opacity});
}

void vignette(Pixmap& target, float strength, float reach) {
    const double cx = target.width / 2.0;
    const double cy = target.height / 2.0;
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const double dx = (x + 0.5 - cx) / cx;
            const double dy = (y + 0.5 - cy) / cy;
            const double r = std::sqrt(dx * dx + dy * dy) / std::sqrt(2.0);
            const double t = std::clamp((r - reach) / (1.0 - reach), 0.0, 1.0);
            const double s = t * t * (3.0 - 2.0 * t);
            Rgba& c = target(x, y);
            const float alpha = c.a;
            c = shade(c, -static_cast<float>(s) * strength);
            c.a = alpha;
        }
    }
}

void lightPool(Pixmap& target, double cx, double cy, double rx, double ry, const Rgba& color,
               float strength) {
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            const double r2 = dx * dx + dy * dy;
            if (r2 >= 1.0) {
                continue;
            }
            const double fall = (1.0 - r2) * (1.0 - r2);
            Rgba& c = target(x, y);
            const float alpha = c.a;
            // Light adds: a screen blend toward the lamp's colour.
            const auto k = static_cast<float>(fall) * strength;
            c.r = c.r + (1.0F - c.r) * color.r * k;
            c.g = c.g + (1.0F - c.g) * color.g * k;
            c.b = c.b + (1.0F - c.b) * color.b * k;
            c.a = alpha;
        }
    }
}

} // namespace orv::media
