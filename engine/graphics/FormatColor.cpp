#include "engine/graphics/FormatColor.h"

namespace orv {

constinit const ClassRecord FormatColor::classRecord{"FormatColor",
                                                     parentRecords<StyleFormat::classRecord>};

FormatColor::FormatColor() : StyleFormat({L"color", L"/color"}) {}

FormatColor::~FormatColor() = default;

void FormatColor::apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const {
    std::vector<std::uint32_t>& colors = target.getLayoutState().colorStack;
    if (nameIndex != 0) {
        if (!colors.empty()) {
            colors.pop_back();
        }
        return;
    }
    std::wstring_view digits = value;
    if (!digits.empty() && digits.front() == L'#') {
        digits.remove_prefix(1);
    }
    const std::optional<std::uint32_t> color = readHex(digits);
    if (!color) {
        warn(target, nameIndex, value, "is no hexadecimal colour; 0 is used");
    }
    colors.push_back(color.value_or(0));
}

} // namespace orv
