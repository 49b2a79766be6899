// Reading a bitmap font's definition node: metrics, the glyph table and the
// kerning groups. Everything here comes from data files, so every value is
// range-checked before it can reach pixel arithmetic.

#include "engine/core/Log.h"
#include "engine/graphics/BitmapFont.h"
#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv {

namespace {

constexpr wchar_t kKerningFirstMark = 0x0001;
constexpr std::uint16_t kBlankCode = 32;

int readInt(const PropertyNode& node, std::string_view key) {
    return PropertyValue::toInt(node.getChild(key));
}

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// The definition's top-level metric `key`: 0 when missing, and 0 (logged)
// when it lies outside ±kMaxMetric.
int readMetric(const PropertyNode& font, std::string_view key, std::string_view sourceName) {
    const int value = readInt(font, key);
    if (!inRange(value, -BitmapFont::kMaxMetric, BitmapFont::kMaxMetric)) {
        logWarning(std::string(sourceName) + ": font key " + std::string(key) + " is " +
                   std::to_string(value) + ", out of range; 0 is used");
        return 0;
    }
    return value;
}

bool isBlankSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Reads a hexadecimal number the way the C "%x" conversion does: leading
// white space, an optional sign, an optional "0x", then the digits up to the
// first other character, wrapping modulo 2^32. Nothing when there is no
// digit.
std::optional<std::uint32_t> scanHex(std::wstring_view token) {
    std::size_t pos = 0;
    while (pos < token.size() && isBlankSpace(token[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < token.size() && (token[pos] == L'+' || token[pos] == L'-')) {
        negative = token[pos] == L'-';
        ++pos;
    }
    if (pos + 2 < token.size() && token[pos] == L'0' &&
        (token[pos + 1] == L'x' || token[pos + 1] == L'X') && hexDigit(token[pos + 2]) >= 0) {
        pos += 2;
    }
    std::uint32_t value = 0;
    bool anyDigit = false;
    while (pos < token.size() && hexDigit(token[pos]) >= 0) {
        value = value * 16U + static_cast<std::uint32_t>(hexDigit(token[pos]));
        anyDigit = true;
        ++pos;
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    return negative ? 0U - value : value;
}

struct KerningPair {
    std::uint16_t first;
    std::uint16_t second;
};

// The pairs a kerning group's text names (see the class comment), or nothing
// when a code has no digits. Codes are code units: higher bits are dropped,
// as for the glyphs' "c".
std::optional<std::vector<KerningPair>> parseKerningPairs(std::wstring_view text) {
    std::vector<KerningPair> pairs;
    bool expectFirst = false;
    std::uint16_t first = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == kKerningFirstMark) {
            expectFirst = true;
            ++pos;
            continue;
        }
        // Whatever stands here is the "#" before the digits.
        const std::size_t begin = pos + 1;
        std::size_t end = text.find(L'#', begin);
        if (end == std::wstring_view::npos) {
            end = text.size();
        }
        const std::optional<std::uint32_t> code = scanHex(text.substr(begin, end - begin));
        if (!code) {
            return std::nullopt;
        }
        pos = end;
        const auto unit = static_cast<std::uint16_t>(*code & 0xFFFFU);
        if (unit == 0) {
            expectFirst = true;
        } else if (expectFirst) {
            first = unit;
            expectFirst = false;
        } else {
            pairs.push_back({first, unit});
        }
    }
    return pairs;
}

} // namespace

BitmapFont::BitmapFont(const PropertyNode& font, std::string_view sourceName) {
    charSpacing_ = readMetric(font, "charspacing", sourceName);
    lineHeight_ = readMetric(font, "lineheight", sourceName);
    baseline_ = readMetric(font, "baseline", sourceName);
    const AbstractProperty* spaceWidth = font.getChild("spacewidth");
    if (spaceWidth != nullptr && spaceWidth->isValue()) {
        const int width = PropertyValue::toInt(spaceWidth);
        if (inRange(width, 0, kMaxMetric)) {
            FontGlyph& blank = glyphs_[kBlankCode];
            blank.width = width;
            blank.sw = width;
        } else {
            logWarning(std::string(sourceName) + ": font key spacewidth is " +
                       std::to_string(width) + ", out of range; ignored");
        }
    }
    readGlyphs(font, sourceName);
    readKerning(font, sourceName);
    completeMissingGlyph();
}

void BitmapFont::readGlyphs(const PropertyNode& font, std::string_view sourceName) {
    const PropertyVector* chars = font.getVector("chars");
    for (std::size_t i = 0; i < chars->size(); ++i) {
        const std::string where =
            std::string(sourceName) + ": glyph entry " + std::to_string(i) + " of chars";
        AbstractProperty* element = chars->at(static_cast<std::ptrdiff_t>(i));
        if (element == nullptr || !element->isNode()) {
            logWarning(where + " is not a node; left out");
            continue;
        }
        const PropertyNode& entry = *asNode(element);
        FontGlyph read;
        read.sx = readInt(entry, "sx");
        read.sy = readInt(entry, "sy");
        read.sw = readInt(entry, "sw");
        read.sh = readInt(entry, "sh");
        read.width = readInt(entry, "width");
        read.bx = readInt(entry, "bx");
        read.by = readInt(entry, "by");
        const bool sane = inRange(read.sx, 0, kMaxMetric) && inRange(read.sy, 0, kMaxMetric) &&
                          inRange(read.sw, 0, kMaxMetric) && inRange(read.sh, 0, kMaxMetric) &&
                          inRange(read.width, -kMaxMetric, kMaxMetric) &&
                          inRange(read.bx, -kMaxMetric, kMaxMetric) &&
                          inRange(read.by, -kMaxMetric, kMaxMetric);
        if (!sane) {
            logWarning(where + " has metrics out of range; left out");
            continue;
        }
        const auto code = static_cast<std::uint16_t>(readInt(entry, "c") & 0xFFFF);
        FontGlyph& glyph = glyphs_[code];
        // A glyph made earlier by "spacewidth" or kerning keeps its kerning.
        read.kerning = std::move(glyph.kerning);
        read.index = static_cast<int>(i);
        glyph = std::move(read);
        height_ = std::max(height_, glyph.by + glyph.sh);
    }
}

void BitmapFont::readKerning(const PropertyNode& font, std::string_view sourceName) {
    const PropertyVector* groups = font.getVector("kerning");
    for (std::size_t i = 0; i < groups->size(); ++i) {
        const std::string where = std::string(sourceName) + ": kerning group " + std::to_string(i);
        AbstractProperty* element = groups->at(static_cast<std::ptrdiff_t>(i));
        if (element == nullptr || !element->isNode()) {
            logWarning(where + " is not a node; left out");
            continue;
        }
        const PropertyNode& group = *asNode(element);
        const int amount = readInt(group, "width");
        if (!inRange(amount, -kMaxMetric, kMaxMetric)) {
            logWarning(where + " has the amount " + std::to_string(amount) +
                       ", out of range; left out");
            continue;
        }
        const std::optional<std::vector<KerningPair>> pairs =
            parseKerningPairs(group.getValue("chars")->getText());
        if (!pairs) {
            logWarning(where + ": chars holds a code without hexadecimal digits; left out");
            continue;
        }
        for (const KerningPair& pair : *pairs) {
            glyphs_[pair.first].kerning[pair.second] = amount;
        }
    }
}

void BitmapFont::completeMissingGlyph() {
    const auto blank = glyphs_.find(kBlankCode);
    const int blankAdvance = blank != glyphs_.end() ? blank->second.width : 0;
    missingGlyph_.sw = 2 * blankAdvance;
    missingGlyph_.width = 2 * blankAdvance;
    // The average offset, rounded up; a font without glyphs has none to
    // average and keeps 0.
    if (glyphs_.empty()) {
        return;
    }
    std::int64_t sum = 0;
    for (const auto& [code, glyph] : glyphs_) {
        sum += glyph.bx;
    }
    const auto count = static_cast<std::int64_t>(glyphs_.size());
    std::int64_t average = sum / count; // truncates toward zero
    if (sum % count != 0 && sum > 0) {
        ++average;
    }
    missingGlyph_.bx = static_cast<int>(average);
}

} // namespace orv
