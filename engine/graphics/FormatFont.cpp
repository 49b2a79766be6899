#include "engine/graphics/FormatFont.h"

#include "engine/core/TextUtil.h"

namespace orv {

constinit const ClassRecord FormatFont::classRecord{"FormatFont",
                                                    parentRecords<StyleFormat::classRecord>};

FormatFont::FormatFont() : StyleFormat({L"font", L"/font"}) {}

FormatFont::~FormatFont() = default;

void FormatFont::apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const {
    StyleLayoutState& state = target.getLayoutState();
    if (nameIndex != 0) {
        if (!state.fontStack.empty()) {
            state.font = std::move(state.fontStack.back());
            state.fontStack.pop_back();
        }
        return;
    }
    const std::size_t comma = value.find(L',');
    const std::wstring_view name = value.substr(0, comma);
    const std::wstring_view section =
        comma == std::wstring_view::npos ? std::wstring_view() : value.substr(comma + 1);
    state.fontStack.push_back(state.font);
    RefPtr<Font> font = target.findFont(wideToString(name), wideToString(section));
    if (!font) {
        warn(target, nameIndex, value,
             "names no loaded font; the text up to [/font] shows nothing");
    }
    state.font = std::move(font);
}

} // namespace orv
