#pragma once

#include "engine/graphics/StyleFormat.h"

namespace orv {

/// "[tabs=X1,X2,...]" replaces the tab stops (pixels, 0 to `kMaxImageSide`);
/// "[tab]" moves the pen right to the first stop at or after it, "[tab=N]"
/// to stop N (counted from 1). A "tabs" value with a field that is no such
/// number, or a "tab" value that is no number, is rejected (logged) and
/// changes nothing.
class FormatTab : public StyleFormat {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    FormatTab();
    ~FormatTab() override;

    void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const override;
};

} // namespace orv
