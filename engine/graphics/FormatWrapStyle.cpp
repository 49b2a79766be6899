#include "engine/graphics/FormatWrapStyle.h"

#include <array>
#include <string_view>

namespace orv {

constinit const ClassRecord FormatWrapStyle::classRecord{"FormatWrapStyle",
                                                         parentRecords<StyleFormat::classRecord>};

namespace {

constexpr std::array<std::wstring_view, 3> kWrapWords{L"autowidth", L"wordwrap", L"truncate"};

} // namespace

FormatWrapStyle::FormatWrapStyle() : StyleFormat({L"wrapstyle", L"/wrapstyle"}) {}

FormatWrapStyle::~FormatWrapStyle() = default;

void FormatWrapStyle::apply(int nameIndex, std::wstring_view value,
                            StyleFormatTarget& target) const {
    StyleLayoutState& state = target.getLayoutState();
    applyChoice(nameIndex, value, kWrapWords, state.wrapStyle, state.wrapStyleStack, target);
}

} // namespace orv
