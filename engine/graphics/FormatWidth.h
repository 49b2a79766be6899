#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[width=N]" sets the width of the styled text's area (pixels, 0 to
/// `kMaxImageSide`) for all that follows, and it stays after the parse. Any
/// other value is rejected (logged) and changes nothing.
class FormatWidth : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatWidth();
    ~FormatWidth() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
