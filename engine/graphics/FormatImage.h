#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[image=NAME,SECTION,PLACEMENT,FLOW]" floats the image resource NAME of
/// SECTION in the text at the pen. PLACEMENT "left", "center" or "right"
/// puts it at that side of the area; "inline", empty or any other word keeps
/// it at the pen. FLOW "none" gives it a band of its own (text goes on below
/// it), "single" makes the current line at least as tall as the image, and
/// "multi" or any other word lets the text flow around it. The area grows to
/// the image's height when lower. A value without "," names no image and is
/// rejected (logged); an image that is not loaded floats as an empty place
/// (logged).
class FormatImage : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatImage();
    ~FormatImage() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
