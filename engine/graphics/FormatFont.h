#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[font=NAME,SECTION]" saves the current font and makes the font resource
/// NAME of SECTION (looked up without loading it) current; "[/font]" makes
/// the saved font current again. A font that is not loaded leaves the runs
/// up to the next "[/font]" without font (logged): they show nothing.
class FormatFont : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatFont();
    ~FormatFont() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
