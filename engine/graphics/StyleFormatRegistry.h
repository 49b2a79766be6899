#pragma once

#include "engine/core/BaseObject.h"
#include "engine/core/RefPtr.h"
#include "engine/graphics/StyleFormat.h"

#include <string_view>
#include <vector>

namespace orv {

/// The tag kinds of the styled-text markup, one prototype of each, in the
/// order in which tag names are matched: `FormatNewLine`, `FormatColor`,
/// `FormatFont`, `FormatImage`, `FormatWrapStyle`, `FormatAlignV`,
/// `FormatAlignH`, `FormatTab`, `FormatWidth`. One registry exists at a time;
/// a styled text parses with it and releases it when its parse ends.
///
///     StyleFormatRegistry::instance()->applyTag(L"color", L"#ff0000", label);
///     StyleFormatRegistry::destroyInstance();
///
/// Main thread only.
class StyleFormatRegistry : public BaseObject {
public:
    StyleFormatRegistry();
    ~StyleFormatRegistry() override;

    /// The registry, created with its prototypes when there is none.
    /// Borrowed: valid until `destroyInstance`.
    [[nodiscard]] static StyleFormatRegistry* instance();
    /// Releases the registry; the next `instance` builds it again.
    static void destroyInstance();

    /// Applies the tag `name` (matched exactly, case included, against the
    /// prototypes' names in order) with `value` to `target`. False when no
    /// prototype answers to the name; nothing changes then.
    [[nodiscard]] bool applyTag(std::wstring_view name, std::wstring_view value,
                                StyleFormatTarget& target) const;

    [[nodiscard]] const std::vector<RefPtr<StyleFormat>>& getFormats() const { return formats_; }

private:
    std::vector<RefPtr<StyleFormat>> formats_;
};

} // namespace orv
