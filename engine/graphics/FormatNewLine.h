#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[br]": closes the current line (the text before the tag is already
/// placed). Any value is ignored.
class FormatNewLine : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatNewLine();
    ~FormatNewLine() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
