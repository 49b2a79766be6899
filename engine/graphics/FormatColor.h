#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[color=AARRGGBB]" pushes a colour (hexadecimal, with or without a
/// leading "#") for the runs that follow; "[/color]" removes the top colour,
/// which may be the one the styled text started with. A value that is not
/// hexadecimal pushes 0 (logged), so the matching "[/color]" still pairs.
class FormatColor : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatColor();
    ~FormatColor() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
