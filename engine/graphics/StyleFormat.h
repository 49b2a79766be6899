#pragma once

#include "engine/core/BaseObject.h"
#include "engine/graphics/StyleFormatTarget.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

/// One kind of tag of the styled-text markup ("[color=#ff0000]",
/// "[/color]", "[br]" ...): it knows its tag names and changes the layout
/// state of a styled text when the parser meets one of them. One prototype
/// of each kind serves every styled text (`StyleFormatRegistry`); the kinds
/// keep no state of a text.
///
/// Tag values are outside data. A value that a kind cannot read is logged
/// with the styled text's name (one line per tag) and changes only what the
/// kind documents for that case.
///
///     StyleFormatRegistry::instance()->applyTag(L"alignh", L"center", label);
class StyleFormat : public BaseObject {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    ~StyleFormat() override;

    /// The opening name first, the closing or second name (if any) second.
    [[nodiscard]] const std::vector<std::wstring>& getNames() const { return names_; }

    /// Applies the tag: `nameIndex` is the position of the matched name in
    /// `getNames`, `value` the text after "=" (empty when there is none),
    /// `target` the styled text whose layout state changes.
    virtual void apply(int nameIndex, std::wstring_view value, StyleFormatTarget& target) const = 0;

    /// `value` read as C's "%i" reads it: leading blanks, a sign, then a
    /// decimal, "0x" hexadecimal or "0" octal number; the characters after
    /// the number are ignored. Nullopt without digits or outside the int range.
    [[nodiscard]] static std::optional<int> readInteger(std::wstring_view value);
    /// `value` read as C's "%x" reads it: leading blanks, an optional "0x",
    /// hexadecimal digits; the characters after them are ignored. Nullopt
    /// without digits or beyond 32 bits.
    [[nodiscard]] static std::optional<std::uint32_t> readHex(std::wstring_view value);

protected:
    explicit StyleFormat(std::vector<std::wstring> names);

    /// Logs one warning: the target, the tag and why it is not applied as
    /// written.
    void warn(const StyleFormatTarget& target, int nameIndex, std::wstring_view value,
              std::string_view reason) const;

    /// The pattern of the tags that switch one numbered state field: the
    /// opening name saves `field` on `stack` and sets it to the position of
    /// `value` in `words` (an unknown word leaves it, and is logged); the
    /// closing name restores the top of `stack` (nothing when it is empty).
    void applyChoice(int nameIndex, std::wstring_view value,
                     std::span<const std::wstring_view> words, int& field, std::vector<int>& stack,
                     const StyleFormatTarget& target) const;

private:
    std::vector<std::wstring> names_;
};

} // namespace orv
