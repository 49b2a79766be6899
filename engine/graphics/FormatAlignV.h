#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[alignv=WORD]" saves the vertical alignment and sets "top", "center",
/// "baseline" or "bottom", which every following run is handed;
/// "[/alignv]" restores the saved one. Another word keeps the alignment
/// (logged) but is still saved.
class FormatAlignV : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatAlignV();
    ~FormatAlignV() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
