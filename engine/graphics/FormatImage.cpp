#include "engine/graphics/FormatImage.h"

#include "engine/core/TextUtil.h"

#include <algorithm>
#include <array>

namespace orv {

constinit const ClassRecord FormatImage::classRecord{"FormatImage",
                                                     parentRecords<StyleFormat::classRecord>};

namespace {

// The value cut at its first three commas into name, section, placement and
// flow; the flow keeps any further commas. Fields after the last comma
// present run to the end; missing fields are empty.
std::array<std::wstring_view, 4> splitFields(std::wstring_view value) {
    std::array<std::wstring_view, 4> fields{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t comma = value.find(L',', start);
        if (comma == std::wstring_view::npos) {
            fields[i] = value.substr(start);
            return fields;
        }
        fields[i] = value.substr(start, comma - start);
        start = comma + 1;
    }
    fields[3] = value.substr(start);
    return fields;
}

} // namespace

FormatImage::FormatImage() : StyleFormat({L"image"}) {}

FormatImage::~FormatImage() = default;

void FormatImage::apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const {
    if (value.find(L',') == std::wstring_view::npos) {
        warn(target, nameIndex, value, "needs NAME,SECTION[,PLACEMENT[,FLOW]]; no image is placed");
        return;
    }
    const auto [name, section, placement, flow] = splitFields(value);
    RefPtr<Image> image = target.findImage(wideToString(name), wideToString(section));
    std::string problems;
    if (!image) {
        problems = "names no loaded image";
    }
    const int imageWidth = image ? image->getWidth() : 0;
    const int imageHeight = image ? image->getHeight() : 0;

    StyleLayoutState& state = target.getLayoutState();
    const std::int64_t areaWidth = target.getAreaWidth();
    int x = state.penX;
    if (placement == L"left") {
        x = 0;
    } else if (placement == L"center") {
        x = clampLayout((areaWidth - imageWidth) / 2);
    } else if (placement == L"right") {
        x = clampLayout(areaWidth - imageWidth);
    } else if (!placement.empty() && placement != L"inline") {
        problems += problems.empty() ? "" : ", ";
        problems += "has an unknown placement (kept at the pen)";
    }

    if (flow == L"none") {
        if (state.penX != 0) {
            target.newLine();
        }
        // A band of its own: the text goes on below the image.
        const int y = state.penY;
        state.penY = clampLayout(std::int64_t{state.penY} + imageHeight);
        target.addFloatingImage(image.get(), x, y);
    } else {
        if (flow == L"single") {
            state.lineHeight = std::max(state.lineHeight, imageHeight);
        } else if (!flow.empty() && flow != L"multi") {
            problems += problems.empty() ? "" : ", ";
            problems += "has an unknown flow (text flows around it)";
        }
        target.addFloatingImage(image.get(), x, state.penY);
    }
    if (target.getAreaHeight() < imageHeight) {
        target.setAreaHeight(imageHeight);
    }
    if (!problems.empty()) {
        warn(target, nameIndex, value, problems);
    }
}

} // namespace orv
