#include "engine/graphics/FormatAlignV.h"

#include <array>
#include <string_view>

namespace orv {

constinit const ClassRecord FormatAlignV::classRecord{"FormatAlignV",
                                                      parentRecords<StyleFormat::classRecord>};

namespace {

constexpr std::array<std::wstring_view, 4> kAlignVWords{L"top", L"center", L"baseline", L"bottom"};

} // namespace

FormatAlignV::FormatAlignV() : StyleFormat({L"alignv", L"/alignv"}) {}

FormatAlignV::~FormatAlignV() = default;

void FormatAlignV::apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const {
    StyleLayoutState& state = target.getLayoutState();
    applyChoice(nameIndex, value, kAlignVWords, state.alignV, state.alignVStack, target);
}

} // namespace orv
