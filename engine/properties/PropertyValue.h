#pragma once

#include "engine/properties/AbstractProperty.h"

#include <string>
#include <string_view>

namespace orv {

/// A value of a property tree: its text exactly as written in the file, and a
/// type name that says how it is meant to be read ("Integer", "Double",
/// "Float", "Boolean", "String", "Text"; empty for an untyped value, which is
/// what an XML attribute becomes). Every reading converts the text on the spot
/// and never fails: text that is not a number reads as 0.
///
/// Numbers are read and written in the "C" notation whatever the user's
/// locale is.
///
///     PropertyValue* alpha = node->getValue("alpha"); // DUMMY_VALUE when missing
///     int value = alpha->getInt();                     // "#FF", "0xff" and "255" all give 255
class PropertyValue : public AbstractProperty {
public:
    static const ClassRecord classRecord;
    [[nodiscard]] const ClassRecord& getClassRecord() const override { return classRecord; }

    /// Type "Integer" (untyped when `untyped` is set), text in decimal.
    PropertyValue(std::string_view name, int value, bool untyped = false);
    /// Type "Integer" (untyped when `untyped` is set), text in decimal.
    PropertyValue(std::string_view name, long value, bool untyped = false);
    /// Type "Float" (untyped when `untyped` is set), text as `setFloat` writes it.
    PropertyValue(std::string_view name, float value, bool untyped = false);
    /// Type "String" (untyped when `untyped` is set); `value` is UTF-8.
    PropertyValue(std::string_view name, std::string_view value, bool untyped = false);
    /// Type "Text" (untyped when `untyped` is set), text unchanged.
    PropertyValue(std::string_view name, std::wstring_view value, bool untyped = false);
    /// The given type name and the integer in decimal.
    PropertyValue(std::string_view name, std::string_view typeName, int value);
    /// A new value (reference count 0) with the given type name (empty for an
    /// untyped value) and text.
    [[nodiscard]] static PropertyValue* create(std::string_view name, std::string_view typeName,
                                               std::wstring_view text);

    /// The text as written in the file.
    [[nodiscard]] const std::wstring& getText() const { return text_; }
    /// Replaces the text. Does nothing on `DUMMY_VALUE`.
    void setText(std::wstring_view text);
    /// The text in UTF-8 (narrow form).
    [[nodiscard]] std::string getString() const;
    /// Replaces the text by the UTF-8 `text` widened. Does nothing on
    /// `DUMMY_VALUE`.
    void setString(std::string_view text);
    /// Writes `value` with six decimals, then strips trailing zeros and a
    /// trailing point (1.5 gives "1.5", 2 gives "2", 100 gives "100"). Does
    /// nothing on `DUMMY_VALUE`.
    void setFloat(float value);

    [[nodiscard]] int getInt() const { return toInt(text_); }
    [[nodiscard]] bool getBool() const { return toBool(text_); }
    [[nodiscard]] float getFloat() const { return toFloat(text_); }
    [[nodiscard]] double getDouble() const { return toDouble(text_); }

    /// The text as an integer: "#" followed by hexadecimal digits, "0x" or
    /// "0X" followed by hexadecimal digits, or else a decimal number (leading
    /// blanks skipped, optional sign, digits up to the first other character:
    /// "12abc" gives 12). Text without digits gives 0. Eight hexadecimal digits
    /// give the full 32-bit pattern ("#80FFFFFF" is 0x80FFFFFF as a negative
    /// int); hexadecimal numbers beyond 32 bits give 0xFFFFFFFF, decimal numbers
    /// beyond the int range give the nearest end of the range.
    [[nodiscard]] static int toInt(std::wstring_view text);
    /// False for empty text, true for anything else except exactly "false"
    /// ("False" and "0" are true).
    [[nodiscard]] static bool toBool(std::wstring_view text);
    /// The leading floating-point number of the text (blanks skipped, optional
    /// sign, decimal or exponent notation, "inf", "nan"); 0 when there is none.
    [[nodiscard]] static float toFloat(std::wstring_view text);
    /// As `toFloat`, in double precision.
    [[nodiscard]] static double toDouble(std::wstring_view text);

    /// The same readings on any property: one that is null or not a value
    /// reads as `DUMMY_VALUE` (empty text).
    [[nodiscard]] static int toInt(const AbstractProperty* property);
    [[nodiscard]] static bool toBool(const AbstractProperty* property);
    [[nodiscard]] static float toFloat(const AbstractProperty* property);

    /// The text in UTF-8.
    [[nodiscard]] std::string toString() const override { return getString(); }

private:
    PropertyValue(std::string_view name, std::string_view typeName, std::wstring text);

    std::wstring text_;
};

/// The shared stand-in for a value that is missing or of another kind: an
/// untyped value named "DUMMY_VALUE" whose text is always empty. It lives for
/// the whole process (it holds a reference of its own, so counting never
/// frees it) and nothing writes into it.
extern PropertyValue* const DUMMY_VALUE;

/// `property` as a value, or `DUMMY_VALUE` when it is null or of another kind.
[[nodiscard]] const PropertyValue* asValue(const AbstractProperty* property);
[[nodiscard]] PropertyValue* asValue(AbstractProperty* property);

} // namespace orv
