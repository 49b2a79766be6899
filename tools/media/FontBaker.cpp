#include "tools/media/FontBaker.h"

#include "tools/media/Fail.h"
#include "tools/media/Light.h"
#include "tools/media/OpenTypeKerning.h"
#include "tools/media/Paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

namespace orv::media {

namespace {

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryHandle = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
using FaceHandle = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

struct RenderedGlyph {
    std::uint32_t code = 0;
    FT_UInt index = 0;
    GreyImage coverage;
    int left = 0;
    int top = 0;
    int advance = 0;
};

// Grows a coverage picture by `radius` pixels with a round pen, keeping the
// soft edge: each neighbour counts with the part of a pixel that the disc of
// that radius covers at its distance.
GreyImage dilate(const GreyImage& in, int radius) {
    if (radius <= 0) {
        return in;
    }
    GreyImage out(in.width, in.height);
    const int reach = radius + 1;
    const int side = 2 * reach + 1;
    std::vector<double> weights(static_cast<std::size_t>(side) * side);
    for (int j = -reach; j <= reach; ++j) {
        for (int i = -reach; i <= reach; ++i) {
            const int at = (j + reach) * side + i + reach;
            weights[static_cast<std::size_t>(at)] =
                std::clamp(radius + 0.5 - std::sqrt(static_cast<double>(i * i + j * j)), 0.0, 1.0);
        }
    }
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            double best = 0.0;
            for (int j = -reach; j <= reach; ++j) {
                for (int i = -reach; i <= reach; ++i) {
                    const int at = (j + reach) * side + i + reach;
                    const double weight = weights[static_cast<std::size_t>(at)];
                    best = std::max(best, in.at(x + i, y + j) * weight);
                }
            }
            out.set(x, y, static_cast<std::uint8_t>(std::lround(best)));
        }
    }
    return out;
}

// A Gaussian blur of a coverage picture, `sigma` pixels soft.
GreyImage softened(const GreyImage& in, double sigma) {
    if (sigma <= 0.0) {
        return in;
    }
    Field field(in.width, in.height);
    for (std::size_t i = 0; i < in.pixels.size(); ++i) {
        field.values[i] = static_cast<float>(in.pixels[i]);
    }
    const Field soft = blur(field, sigma);
    GreyImage out(in.width, in.height);
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        out.pixels[i] =
            static_cast<std::uint8_t>(std::clamp(std::lround(soft.values[i]), 0L, 255L));
    }
    return out;
}

// The face's OpenType positioning table (GPOS), or nothing.
Bytes positioningTable(FT_Face face) {
    constexpr FT_ULong tag = FT_MAKE_TAG('G', 'P', 'O', 'S');
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0 || length == 0) {
        return {};
    }
    Bytes table(length);
    if (FT_Load_Sfnt_Table(face, tag, 0, table.data(), &length) != 0) {
        return {};
    }
    return table;
}

int paddingOf(const LayerStyle& style) {
    switch (style.kind) {
    case LayerStyle::Kind::Fill:
        return 0;
    case LayerStyle::Kind::Outline:
        return style.radius + 1;
    case LayerStyle::Kind::Shadow:
        return style.radius + static_cast<int>(std::ceil(3.0 * style.blur)) +
               std::max(std::abs(style.dx), std::abs(style.dy)) + 1;
    }
    return 0;
}

// The heading gold: a bright upper half, a sharp horizon at the middle of the
// capitals and a deep lower half, like polished metal lit from above.
std::uint32_t goldAt(double t) {
    struct Stop {
        double at;
        int r, g, b;
    };
    static constexpr Stop stops[] = {{0.00, 0xFF, 0xF6, 0xD2}, {0.42, 0xF6, 0xD3, 0x72},
                                     {0.50, 0xE2, 0xA6, 0x38}, {0.58, 0xC8, 0x86, 0x24},
                                     {0.85, 0xE8, 0xB4, 0x4C}, {1.00, 0xB0, 0x70, 0x1C}};
    t = std::clamp(t, 0.0, 1.0);
    for (std::size_t k = 1; k < std::size(stops); ++k) {
        if (t <= stops[k].at) {
            const Stop& a = stops[k - 1];
            const Stop& b = stops[k];
            const double u = (t - a.at) / (b.at - a.at);
            const auto mix = [u](int p, int q) {
                return static_cast<std::uint32_t>(std::lround(p + (q - p) * u));
            };
            return 0xFF000000U | (mix(a.r, b.r) << 16) | (mix(a.g, b.g) << 8) | mix(a.b, b.b);
        }
    }
    return 0xFFB0701CU;
}

std::string hexCode(std::uint32_t code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%X", code);
    return buffer;
}

std::string hexColor(std::uint32_t color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%08X", color);
    return buffer;
}

} // namespace

BakedFont bakeFont(const FontSpec& spec) {
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        fail("FreeType cannot start");
    }
    const LibraryHandle library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), spec.faceFile.c_str(), 0, &rawFace) != 0) {
        fail("cannot open the font face " + spec.faceFile);
    }
    const FaceHandle face(rawFace);
    if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(spec.pixelSize)) != 0) {
        fail("cannot size the font face " + spec.faceFile);
    }

    BakedFont font;
    font.id = spec.id;
    font.faceName = std::string(face->family_name != nullptr ? face->family_name : "") + " " +
                    (face->style_name != nullptr ? face->style_name : "");
    font.pixelSize = spec.pixelSize;
    font.charSpacing = spec.charSpacing;

    // Light hinting keeps the shapes true to the design while snapping
    // advances to whole pixels, which the engine's integer layout needs.
    constexpr FT_Int32 loadFlags = FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT;
    if (FT_Load_Char(face.get(), U' ', loadFlags) == 0) {
        font.spaceWidth = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    }

    std::vector<RenderedGlyph> rendered;
    for (const std::uint32_t code : spec.characters) {
        if (code == U' ') {
            continue; // the blank is described by "spacewidth"
        }
        const FT_UInt index = FT_Get_Char_Index(face.get(), code);
        if (index == 0 || FT_Load_Glyph(face.get(), index, loadFlags) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        RenderedGlyph glyph;
        glyph.code = code;
        glyph.index = index;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        glyph.coverage =
            GreyImage(static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows));
        for (int y = 0; y < glyph.coverage.height; ++y) {
            const unsigned char* row =
                slot->bitmap.buffer + static_cast<std::ptrdiff_t>(y) * slot->bitmap.pitch;
            for (int x = 0; x < glyph.coverage.width; ++x) {
                glyph.coverage.set(x, y, row[x]);
            }
        }
        rendered.push_back(std::move(glyph));
    }

    // Line metrics: the ascent is the highest ink of any glyph (accented
    // capitals included), so no glyph box starts above the line's top.
    int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
    int descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    for (const RenderedGlyph& g : rendered) {
        ascent = std::max(ascent, g.top);
        descent = std::max(descent, g.coverage.height - g.top);
    }
    const int faceLine = static_cast<int>((face->size->metrics.height + 32) >> 6);
    font.baseline = ascent;
    font.lineHeight = std::max(faceLine, ascent + descent) + spec.extraLineGap;

    // Glyph table: one row, glyph i at the sum of the widths before it. A
    // layer with padding p then holds glyph i at sx + 2 * p * i, exactly as
    // the engine reads it, with no space lost in any layer.
    int x = 0;
    int tallest = 0;
    for (const RenderedGlyph& g : rendered) {
        BakedGlyph out;
        out.code = g.code;
        out.sx = x;
        out.sy = 0;
        out.sw = g.coverage.width;
        out.sh = g.coverage.height;
        out.advance = g.advance;
        out.bx = g.left;
        out.by = ascent - g.top;
        font.glyphs.push_back(out);
        x += out.sw;
        tallest = std::max(tallest, out.sh);
    }
    const int rowWidth = x;

    // Capital height for the gold ramp: from the top of "H" to the baseline.
    int capTop = ascent - static_cast<int>(std::lround(spec.pixelSize * 0.72));
    for (const RenderedGlyph& g : rendered) {
        if (g.code == U'H') {
            capTop = ascent - g.top;
        }
    }
    const double capHeight = std::max(1, ascent - capTop);

    for (const LayerStyle& style : spec.layers) {
        BakedLayer layer;
        layer.padding = paddingOf(style);
        layer.color = style.color;
        const int p = layer.padding;
        const int count = static_cast<int>(rendered.size());
        layer.mask = GreyImage(std::max(1, rowWidth + 2 * p * count), std::max(1, tallest + 2 * p));
        if (style.goldRamp) {
            layer.picture = ColorImage(layer.mask.width, layer.mask.height);
        }
        for (int i = 0; i < count; ++i) {
            const RenderedGlyph& g = rendered[static_cast<std::size_t>(i)];
            const BakedGlyph& b = font.glyphs[static_cast<std::size_t>(i)];
            const int cellX = b.sx + 2 * p * i;
            GreyImage cell(b.sw + 2 * p, b.sh + 2 * p);
            for (int cy = 0; cy < g.coverage.height; ++cy) {
                for (int cx = 0; cx < g.coverage.width; ++cx) {
                    cell.set(cx + p, cy + p, g.coverage.at(cx, cy));
                }
            }
            if (style.kind != LayerStyle::Kind::Fill) {
                cell = dilate(cell, style.radius);
            }
            if (style.kind == LayerStyle::Kind::Shadow) {
                cell = softened(cell, style.blur);
            }
            Pixmap gold(style.goldRamp ? cell.width : 0, style.goldRamp ? cell.height : 0);
            Field ink(gold.width, gold.height);
            for (int cy = 0; cy < cell.height; ++cy) {
                for (int cx = 0; cx < cell.width; ++cx) {
                    const int value = cell.at(cx - style.dx, cy - style.dy);
                    layer.mask.set(cellX + cx, cy,
                                   static_cast<std::uint8_t>(std::lround(value * style.strength)));
                    if (style.goldRamp) {
                        const int lineY = b.by + cy - p;
                        gold(cx, cy) = fromPixel(goldAt((lineY - capTop) / capHeight));
                        ink(cx, cy) = static_cast<float>(value) / 255.0F;
                    }
                }
            }
            if (style.goldRamp) {
                // Each letter a little cushion of polished metal under the
                // game's light: bright upper-left flanks, a gleam on the rims.
                light(gold, cushion(ink, 0.8, 1.4), Lighting{0.45F, 0.5F, 16.0F});
                for (int cy = 0; cy < cell.height; ++cy) {
                    for (int cx = 0; cx < cell.width; ++cx) {
                        layer.picture.set(cellX + cx, cy, toPixel(gold.at(cx, cy)));
                    }
                }
            }
        }
        font.layers.push_back(std::move(layer));
    }

    // Kerning from the face's kerning table, or else from the pair
    // adjustments of its positioning table, in whole pixels and grouped by
    // amount so that each group is one line of the definition.
    const OpenTypeKerning positioning(positioningTable(face.get()));
    const auto kerningPixels = [&](FT_UInt first, FT_UInt second) {
        if (FT_HAS_KERNING(face.get())) {
            FT_Vector kern{};
            if (FT_Get_Kerning(face.get(), first, second, FT_KERNING_DEFAULT, &kern) != 0) {
                return 0;
            }
            return static_cast<int>(kern.x >> 6);
        }
        const int units = positioning.adjustment(static_cast<std::uint16_t>(first),
                                                 static_cast<std::uint16_t>(second));
        if (units == 0) {
            return 0;
        }
        const FT_Pos scaled = FT_MulFix(units, face->size->metrics.x_scale);
        return static_cast<int>(std::lround(static_cast<double>(scaled) / 64.0));
    };
    font.faceHasKerning = FT_HAS_KERNING(face.get()) || positioning.hasPairs();
    if (font.faceHasKerning) {
        std::map<int, KerningGroup> groups;
        std::vector<std::pair<std::uint32_t, FT_UInt>> all;
        all.emplace_back(U' ', FT_Get_Char_Index(face.get(), U' '));
        for (const RenderedGlyph& g : rendered) {
            all.emplace_back(g.code, g.index);
        }
        for (const auto& [first, firstIndex] : all) {
            for (const auto& [second, secondIndex] : all) {
                const int amount = kerningPixels(firstIndex, secondIndex);
                if (amount != 0) {
                    KerningGroup& group = groups[amount];
                    group.amount = amount;
                    group.pairs.emplace_back(first, second);
                }
            }
        }
        for (auto& [amount, group] : groups) {
            font.kerning.push_back(std::move(group));
        }
    }
    return font;
}

std::string BakedFont::maskFileName(std::size_t layer) const {
    return id + "_" + std::to_string(layer) + "_mask.png";
}

std::string BakedFont::pictureFileName(std::size_t layer) const {
    return id + "_" + std::to_string(layer) + ".png";
}

std::string BakedFont::definitionXml() const {
    std::string xml;
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<!-- Bitmap font " + id + ", generated by media_tool: do not edit. -->\n";
    xml += "<Font>\n";
    xml += "  <Node id=\"font\" charspacing=\"" + std::to_string(charSpacing) + "\" spacewidth=\"" +
           std::to_string(spaceWidth) + "\" lineheight=\"" + std::to_string(lineHeight) +
           "\" baseline=\"" + std::to_string(baseline) + "\">\n";
    xml += "    <Vector id=\"chars\">\n";
    for (const BakedGlyph& g : glyphs) {
        xml += "      <Char c=\"" + hexCode(g.code) + "\" sx=\"" + std::to_string(g.sx) +
               "\" sy=\"" + std::to_string(g.sy) + "\" sw=\"" + std::to_string(g.sw) + "\" sh=\"" +
               std::to_string(g.sh) + "\" width=\"" + std::to_string(g.advance) + "\" bx=\"" +
               std::to_string(g.bx) + "\" by=\"" + std::to_string(g.by) + "\"/>\n";
    }
    xml += "    </Vector>\n";
    xml += "    <Vector id=\"kerning\">\n";
    for (const KerningGroup& group : kerning) {
        // "#0" starts a new first character; the codes after it are the
        // characters that follow it, each kerned by the group's amount.
        std::string chars;
        bool started = false;
        std::uint32_t current = 0;
        for (const auto& [first, second] : group.pairs) {
            if (!started || first != current) {
                chars += "#0" + hexCode(first);
                current = first;
                started = true;
            }
            chars += hexCode(second);
        }
        xml += "      <Kern width=\"" + std::to_string(group.amount) + "\" chars=\"" + chars +
               "\"/>\n";
    }
    xml += "    </Vector>\n";
    xml += "  </Node>\n";
    xml += "  <Vector id=\"layers\">\n";
    for (std::size_t k = 0; k < layers.size(); ++k) {
        const BakedLayer& layer = layers[k];
        xml += "    <Layer";
        if (layer.picture.width > 0) {
            xml += " image=\"" + pictureFileName(k) + "\"";
        }
        xml += " mask=\"" + maskFileName(k) + "\" padding=\"" + std::to_string(layer.padding) +
               "\" color=\"" + hexColor(layer.color) + "\"/>\n";
    }
    xml += "  </Vector>\n";
    xml += "</Font>\n";
    return xml;
}

std::uint32_t blendOver(std::uint32_t dst, std::uint32_t src, int coverage) {
    const int sa = static_cast<int>((src >> 24) * static_cast<std::uint32_t>(coverage) / 255);
    if (sa == 0) {
        return dst;
    }
    const int da = static_cast<int>(dst >> 24);
    const int outA = sa + da * (255 - sa) / 255;
    if (outA == 0) {
        return 0;
    }
    std::uint32_t result = static_cast<std::uint32_t>(outA) << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int sc = static_cast<int>((src >> shift) & 0xFF);
        const int dc = static_cast<int>((dst >> shift) & 0xFF);
        const int c = (sc * sa + dc * da * (255 - sa) / 255) / outA;
        result |= static_cast<std::uint32_t>(std::clamp(c, 0, 255)) << shift;
    }
    return result;
}

namespace {

const BakedGlyph* findGlyph(const BakedFont& font, std::uint32_t code, std::size_t* index) {
    for (std::size_t i = 0; i < font.glyphs.size(); ++i) {
        if (font.glyphs[i].code == code) {
            *index = i;
            return &font.glyphs[i];
        }
    }
    return nullptr;
}

int kerningOf(const BakedFont& font, std::uint32_t first, std::uint32_t second) {
    for (const KerningGroup& group : font.kerning) {
        for (const auto& pair : group.pairs) {
            if (pair.first == first && pair.second == second) {
                return group.amount;
            }
        }
    }
    return 0;
}

int maxPadding(const BakedFont& font) {
    int pad = 0;
    for (const BakedLayer& layer : font.layers) {
        pad = std::max(pad, layer.padding);
    }
    return pad;
}

} // namespace

int textWidth(const BakedFont& font, const std::u32string& text) {
    int pen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t index = 0;
        const BakedGlyph* g = findGlyph(font, text[i], &index);
        const int advance = text[i] == U' ' ? font.spaceWidth : (g != nullptr ? g->advance : 0);
        pen += advance + font.charSpacing;
        if (i + 1 < text.size()) {
            pen += kerningOf(font, text[i], text[i + 1]);
        }
    }
    return pen;
}

void drawText(ColorImage& target, const BakedFont& font, const std::u32string& text, int x, int y,
              const std::vector<std::uint32_t>& overrides) {
    const int pad = maxPadding(font);
    // Pen positions as the engine's measuring places them.
    struct Box {
        int left;
        int top;
        std::size_t glyph;
    };
    std::vector<Box> boxes;
    int pen = pad;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t index = 0;
        const BakedGlyph* g = findGlyph(font, text[i], &index);
        if (text[i] == U' ' || g == nullptr) {
            pen += font.spaceWidth + font.charSpacing;
            continue;
        }
        int left = pen + g->bx;
        if (i == 0) {
            left = pen;
            pen -= g->bx;
        }
        boxes.push_back({left, g->by + pad, index});
        pen += g->advance + font.charSpacing;
        if (i + 1 < text.size()) {
            pen += kerningOf(font, text[i], text[i + 1]);
        }
    }
    for (std::size_t k = font.layers.size(); k-- > 0;) {
        const BakedLayer& layer = font.layers[k];
        const std::uint32_t color =
            k < overrides.size() && overrides[k] != 0 ? overrides[k] : layer.color;
        const int p = layer.padding;
        for (const Box& box : boxes) {
            const BakedGlyph& g = font.glyphs[box.glyph];
            const int srcX = g.sx + 2 * p * static_cast<int>(box.glyph);
            for (int cy = 0; cy < g.sh + 2 * p; ++cy) {
                for (int cx = 0; cx < g.sw + 2 * p; ++cx) {
                    const int tx = x - p + box.left + cx;
                    const int ty = y - p + box.top + cy;
                    if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height) {
                        continue;
                    }
                    const int coverage = layer.mask.at(srcX + cx, g.sy + cy);
                    if (coverage == 0) {
                        continue;
                    }
                    const std::uint32_t source = layer.picture.width > 0
                                                     ? layer.picture.at(srcX + cx, g.sy + cy)
                                                     : (0xFF000000U | (color & 0xFFFFFF));
                    target.set(tx, ty, blendOver(target.at(tx, ty), source, coverage));
                }
            }
        }
    }
}

} // namespace orv::media
