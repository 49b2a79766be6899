#include "tools/media/LayoutMedia.h"

#include "tools/media/Fail.h"
#include "tools/media/Palette.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace orv::media {

namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fail("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// The files of `folder` with the extension `extension`, in name order; none
// when the folder does not exist.
std::vector<fs::path> filesIn(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == extension) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

[[noreturn]] void failWith(const std::string& file, const std::vector<std::string>& faults) {
    std::string message = file + ":";
    for (const std::string& fault : faults) {
        message += "\n  " + fault;
    }
    fail(message);
}

constexpr std::uint32_t opaque(std::uint32_t rgb) {
    return 0xFF000000U | rgb;
}

void fillRect(ColorImage& target, int x, int y, int w, int h, std::uint32_t color) {
    for (int j = std::max(0, y); j < std::min(target.height, y + h); ++j) {
        for (int i = std::max(0, x); i < std::min(target.width, x + w); ++i) {
            target.set(i, j, color);
        }
    }
}

// Mixes two opaque colours, `share` of 255 parts of `b`.
std::uint32_t mix(std::uint32_t a, std::uint32_t b, int share) {
    std::uint32_t out = 0xFF000000U;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFFU);
        const int cb = static_cast<int>((b >> shift) & 0xFFU);
        out |= static_cast<std::uint32_t>(ca + (cb - ca) * share / 255) << shift;
    }
    return out;
}

// Miniature scale: pixels per cell, and the shift of each layer (up and to
// the left, as the board draws it).
constexpr int kCellW = 4;
constexpr int kCellH = 5;
constexpr int kLayerShift = 1;

// One tile of a miniature with its face's top-left corner at (x, y): the
// face, its right and bottom edges and an outline; higher layers are lit a
// little more.
void miniTile(ColorImage& target, int x, int y, int z) {
    const int w = 2 * kCellW;
    const int h = 2 * kCellH;
    const std::uint32_t outline = opaque(palette::mahoganyDark);
    const std::uint32_t edge = mix(opaque(palette::ivoryShade), outline, 70);
    const std::uint32_t face =
        mix(opaque(palette::ivoryShade), opaque(palette::ivory), std::min(255, 40 + z * 55));
    fillRect(target, x, y, w + 1, h + 1, outline);
    fillRect(target, x + 1, y + 1, w - 1, h - 1, edge);
    fillRect(target, x + 1, y + 1, w - 2, h - 2, face);
}

std::u32string ascii(const std::string& text) {
    std::u32string out;
    for (const char c : text) {
        out.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<char32_t>(c) : U'?');
    }
    return out;
}

} // namespace

void addLayouts(MediaSet& media, const std::filesystem::path& source, Gallery& sheet) {
    std::vector<LayoutDesign> layouts;
    std::map<std::string, LayoutDesign> byId;
    for (const fs::path& path : filesIn(source / "layouts", ".txt")) {
        const std::string id = path.stem().string();
        const std::string file = "media/layouts/" + path.filename().string();
        // The engine keys archive entries by lower-case names.
        if (id.empty() || !std::all_of(id.begin(), id.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
            })) {
            failWith(file, {"a layout's file name holds only a-z, 0-9 and _"});
        }
        std::string error;
        const auto layout = parseLayout(id, readText(path), error);
        if (!layout) {
            failWith(file, {error});
        }
        const std::vector<std::string> faults = layoutFaults(*layout);
        if (!faults.empty()) {
            failWith(file, faults);
        }
        media.add("media/levels/" + id + ".xml", bytesOf(layoutFileXml(*layout)));
        byId.emplace(id, *layout);
        layouts.push_back(*layout);
    }

    std::vector<std::string> properties;
    for (const auto& [name, entry] : media.files()) {
        if (name.rfind("media/properties/", 0) == 0) {
            properties.emplace_back(entry.first.begin(), entry.first.end());
        }
    }
    const std::vector<int> suitSizes = suitSizesFrom(properties).value_or(standardSuitSizes());

    std::map<std::string, std::string> levelFiles;
    for (const fs::path& path : filesIn(source / "properties" / "levels", ".xml")) {
        const std::string name = path.filename().string();
        levelFiles[name] = readText(path);
        media.add("media/properties/levels/" + name, bytesOf(levelFiles[name]));
    }
    const std::vector<std::string> faults = levelFaults(levelFiles, byId, suitSizes);
    if (!faults.empty()) {
        failWith("media/properties/levels", faults);
    }
    SheetRow row;
    row.title = "Layouts (" + std::to_string(layouts.size()) +
                "): the layers stacked as the board draws them, the first rack's slots to the "
                "right";
    for (const LayoutDesign& layout : layouts) {
        row.pictures.push_back(layoutMiniature(layout, sheet.fonts.at(1)));
    }
    sheet.rows.push_back(std::move(row));
}

ColorImage layoutMiniature(const LayoutDesign& layout, const BakedFont& font) {
    constexpr int kWidth = 158;
    constexpr int kPad = 6;
    const int pictureH = kBoardHeight * kCellH + 6 * kLayerShift;
    ColorImage out(kWidth, kPad + pictureH + font.lineHeight + 2 * kPad);
    fillRect(out, 0, 0, out.width, out.height, opaque(palette::jadeDark));
    // The board, centred in the picture area; the first rack, if any, to
    // its right.
    const int rackW = layout.racks.empty() ? 0 : layout.racks[0].columns * 2 * kCellW + 6;
    const int pictureW = layout.width() * kCellW + rackW;
    const int originX = (kWidth - pictureW) / 2 + 3;
    const int originY = kPad + 6 * kLayerShift + (kBoardHeight - layout.height()) * kCellH / 2;
    for (const LayoutTile& t : layout.tiles) {
        miniTile(out, originX + t.x * kCellW - t.z * kLayerShift,
                 originY + t.y * kCellH - t.z * kLayerShift, t.z);
    }
    if (!layout.racks.empty()) {
        const Rack& rack = layout.racks[0];
        const int rackX = originX + layout.width() * kCellW + 6;
        for (int r = 0; r < rack.rows; ++r) {
            for (int c = 0; c < rack.columns; ++c) {
                fillRect(out, rackX + c * 2 * kCellW, originY + r * 2 * kCellH, 2 * kCellW - 1,
                         2 * kCellH - 1, opaque(palette::goldDeep));
            }
        }
    }
    const std::u32string label = ascii(layout.name + "  " + std::to_string(layout.tileCount()));
    drawText(out, font, label, (kWidth - textWidth(font, label)) / 2, kPad + pictureH + kPad,
             {opaque(palette::cream), opaque(palette::mahoganyDark)});
    return out;
}

} // namespace orv::media
