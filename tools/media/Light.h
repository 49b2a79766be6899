#pragma once

#include "tools/media/Paint.h"

/// Light and depth: the game's one light, bevels and embossing from height
/// fields, soft shadows and glows from blurred masks, highlights, vignettes.
///
/// The light comes from the upper left and in front of the screen (see
/// lightDirection()); every picture is lit from there, so every shadow falls
/// down and to the right, by shadowOffset() of its height above the surface.
namespace orv::media {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

/// The unit vector toward the game's light, in picture coordinates (x right,
/// y down, z out of the screen): up and to the left, about 43 degrees above
/// the picture plane.
[[nodiscard]] Vec3 lightDirection();

/// Where the shadow of something `elevation` pixels above the surface falls,
/// in pixels (right, down), following lightDirection().
struct Offset {
    double dx = 0, dy = 0;
};
[[nodiscard]] Offset shadowOffset(double elevation);

/// How a bevel rises from the shape's edge across its width.
enum class Profile {
    Round,  ///< a quarter round: steep at the edge, level at the top
    Linear, ///< a straight chamfer
    Cove,   ///< hollow: level at the edge, steep at the top
    Bead    ///< a half round: up and down again, a moulding across the band
};

/// A height field (pixels) that rises from 0 at the edge of `mask` to
/// `height` over `width` pixels inward in the profile's shape, level beyond
/// (a bead falls back to 0). Outside the mask it is 0.
[[nodiscard]] Field bevel(const Field& mask, double width, double height,
                          Profile profile = Profile::Round);
/// A soft cushion: the mask blurred by `sigma` and scaled to `height` pixels.
/// Negative heights press the shape in (engraving, embossed marks).
[[nodiscard]] Field cushion(const Field& mask, double sigma, double height);

/// Adds `extra` (pixels) to `height` where `where` covers, in proportion to
/// the cover: a cushion on a rim, a mark on a face. All three the same size.
void raise(Field& height, const Field& where, const Field& extra);

/// How a surface answers the light.
struct Lighting {
    float diffuse = 0.55F;   ///< how far a slope turned fully to the light goes toward white
    float specular = 0.35F;  ///< strength of the highlight (0 = matt)
    float shininess = 30.0F; ///< highlight exponent: higher is smaller and sharper
    Rgba highlight{1.0F, 0.97F, 0.88F, 1.0F}; ///< the light's colour, a warm lamp
};

/// Lights `target` by the slopes of `height` (pixels, same size): slopes
/// that face the light are lightened, slopes that face away darkened, level
/// parts keep their colour; the highlight goes on slopes that mirror the
/// light. Alpha is left as it is.
void light(Pixmap& target, const Field& height, const Lighting& lighting = {});

/// Paints `material` over `target` where `mask` covers it, lit by the slopes
/// of `height` as light() does: one lit layer of a picture in one step,
/// worked out only where the mask covers. `material` repeats when it is
/// smaller than `target` (materials tile), so a small tile can cover a wall.
void paintLit(Pixmap& target, const Pixmap& material, const Field& mask, const Field& height,
              const Lighting& lighting = {});

/// A soft shadow.
struct Shadow {
    double elevation = 3.0; ///< the caster's height above the surface, pixels
    double sigma = 2.0;     ///< softness: the blur's standard deviation, pixels
    float opacity = 0.5F;   ///< darkness right under the caster
    Rgba color{0.0F, 0.0F, 0.0F, 1.0F};
};
/// Paints onto `target` the shadow of a shape of coverage `mask` (same size)
/// floating above it; paint the shape itself afterwards.
void castShadow(Pixmap& target, const Field& mask, const Shadow& shadow);
/// A glow of `color` around a shape of coverage `mask`, `sigma` pixels soft.
void glow(Pixmap& target, const Field& mask, double sigma, const Rgba& color, float strength);
/// Darkens the inside of `mask` along the edges that face the light, as a
/// recess in the surface looks: `depth` pixels deep, `sigma` soft.
void innerShadow(Pixmap& target, const Field& mask, double depth, double sigma, float opacity);

/// Darkens toward the corners: `strength` at the corners (0..1), nothing
/// within `reach` (0..1) of the way from the centre.
void vignette(Pixmap& target, float strength, float reach = 0.45F);
/// A pool of warm light: lightens toward `color` inside the ellipse (cx, cy,
/// rx, ry), strongest (`strength`) at its centre, fading smoothly to nothing.
void lightPool(Pixmap& target, double cx, double cy, double rx, double ry, const Rgba& color,
               float strength);

} // namespace orv::media
