#include "engine/graphics/FormatTab.h"

#include "engine/core/TextUtil.h"

namespace orv {

constinit const ClassRecord FormatTab::classRecord{"FormatTab",
                                                   parentRecords<StyleFormat::classRecord>};

namespace {

constexpr int kTabsName = 0;

bool isStop(std::optional<int> stop) {
    return stop && *stop >= 0 && *stop <= kMaxImageSide;
}

} // namespace

FormatTab::FormatTab() : StyleFormat({L"tabs", L"tab"}) {}

FormatTab::~FormatTab() = default;

void FormatTab::apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const {
    StyleLayoutState& state = target.getLayoutState();
    if (nameIndex == kTabsName) {
        std::vector<std::wstring> fields;
        splitString(value, fields, L",", true);
        if (!value.empty() && value.back() == L',') {
            fields.emplace_back(); // an empty last field is no stop either
        }
        std::vector<int> stops;
        for (const std::wstring& field : fields) {
            const std::optional<int> stop = readInteger(field);
            if (!isStop(stop)) {
                warn(target, nameIndex, value, "has a field that is no tab stop; the stops stay");
                return;
            }
            stops.push_back(*stop);
        }
        state.tabStops = std::move(stops);
        return;
    }
    if (value.empty()) {
        // The first stop at or after the pen; the pen moves only forwards.
        for (const int stop : state.tabStops) {
            if (stop >= state.penX) {
                state.penX = stop;
                return;
            }
        }
        return;
    }
    const std::optional<int> number = readInteger(value);
    if (!number) {
        warn(target, nameIndex, value, "is no stop number; the pen stays");
        return;
    }
    if (*number >= 1 && static_cast<std::size_t>(*number) <= state.tabStops.size()) {
        state.penX = state.tabStops[static_cast<std::size_t>(*number) - 1];
    }
}

} // namespace orv
