#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[alignh=WORD]" saves the horizontal alignment and sets "left", "center"
/// or "right" for every line closed afterwards; "[/alignh]" restores the
/// saved one. Another word keeps the alignment (logged) but is still saved.
class FormatAlignH : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatAlignH();
    ~FormatAlignH() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
