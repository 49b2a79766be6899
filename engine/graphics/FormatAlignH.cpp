#include "engine/graphics/FormatAlignH.h"

#include <array>
#include <string_view>

namespace orv {

constinit const ClassRecord FormatAlignH::classRecord{"FormatAlignH",
                                                      parentRecords<StyleFormat::classRecord>};

namespace {

constexpr std::array<std::wstring_view, 3> kAlignHWords{L"left", L"center", L"right"};

} // namespace

FormatAlignH::FormatAlignH() : StyleFormat({L"alignh", L"/alignh"}) {}

FormatAlignH::~FormatAlignH() = default;

void FormatAlignH::apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const {
    StyleLayoutState& state = target.getLayoutState();
    applyChoice(nameIndex, value, kAlignHWords, state.alignH, state.alignHStack, target);
}

} // namespace orv
