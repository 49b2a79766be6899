#include "engine/graphics/FormatWidth.h"

namespace orv {

constinit const ClassRecord FormatWidth::classRecord{"FormatWidth",
                                                     parentRecords<StyleFormat::classRecord>};

FormatWidth::FormatWidth() : StyleFormat({L"width"}) {}

FormatWidth::~FormatWidth() = default;

void FormatWidth::apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const {
    const std::optional<int> width = readInteger(value);
    if (!width || *width < 0 || *width > kMaxImageSide) {
        warn(target, nameIndex, value, "is no width of 0 to 16384 pixels; the width stays");
        return;
    }
    target.setAreaWidth(*width);
}

} // namespace orv
