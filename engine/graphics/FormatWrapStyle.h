#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[wrapstyle=WORD]" saves the wrap style and sets "autowidth", "wordwrap"
/// or "truncate" for the runs placed afterwards; "[/wrapstyle]" restores the
/// saved one. Another word keeps the style (logged) but is still saved, so
/// the closing tag pairs.
class FormatWrapStyle : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatWrapStyle();
    ~FormatWrapStyle() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
