#include "engine/graphics/FormatNewLine.h"

namespace orv {

constinit const ClassRecord FormatNewLine::classRecord{"FormatNewLine",
                                                       parentRecords<StyleFormat::classRecord>};

FormatNewLine::FormatNewLine() : StyleFormat({L"br"}) {}

FormatNewLine::~FormatNewLine() = default;

void FormatNewLine::apply(int /*nameIndex*/, std::wstring_view /*value*/,
                          StyleFormatTarget& target) const {
    target.newLine();
}

} // namespace orv
