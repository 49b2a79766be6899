#include "engine/properties/PropertyNode.h"
#include "engine/properties/PropertyValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

namespace orv {
namespace {

struct IntCase {
    const wchar_t* text;
    std::int64_t expected; // compared as the int's bit pattern where it matters
};

void PrintTo(const IntCase& c, std::ostream* out) {
    *out << testing::PrintToString(std::wstring(c.text));
}

class ToInt : public testing::TestWithParam<IntCase> {};

TEST_P(ToInt, ReadsHexAndDecimalForms) {
    const IntCase& c = GetParam();
    EXPECT_EQ(PropertyValue::toInt(c.text), static_cast<int>(c.expected)) << "text: " << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToInt,
    testing::Values(IntCase{L"", 0}, IntCase{L"#FF8000", 0xFF8000},
                    IntCase{L"#80FFFFFF", static_cast<std::int32_t>(0x80FFFFFFU)},
                    IntCase{L"#1A", 26}, IntCase{L"0x1A", 26}, IntCase{L"0X1a", 26},
                    IntCase{L"0x1f", 31}, IntCase{L"1A", 1}, IntCase{L"-12", -12},
                    IntCase{L"+7", 7}, IntCase{L"  42", 42}, IntCase{L"12abc", 12},
                    IntCase{L"abc", 0}, IntCase{L"#", 0}, IntCase{L"0x", 0}, IntCase{L"#zz", 0},
                    IntCase{L"x12", 0}, IntCase{L"#0x1F", 31}, IntCase{L"# -1", -1},
                    IntCase{L"0", 0}, IntCase{L"08", 8},
                    IntCase{L"#FFFFFFFFF", -1}, // beyond 32 bits: all bits set
                    IntCase{L"99999999999", std::numeric_limits<int>::max()},
                    IntCase{L"-99999999999", std::numeric_limits<int>::min()},
                    IntCase{L"\x0663", 0})); // a non-ASCII digit is no digit

struct BoolCase {
    const wchar_t* text;
    bool expected;
};

void PrintTo(const BoolCase& c, std::ostream* out) {
    *out << testing::PrintToString(std::wstring(c.text));
}

class ToBool : public testing::TestWithParam<BoolCase> {};

TEST_P(ToBool, OnlyEmptyAndExactFalseAreFalse) {
    EXPECT_EQ(PropertyValue::toBool(GetParam().text), GetParam().expected)
        << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ToBool,
                         testing::Values(BoolCase{L"", false}, BoolCase{L"false", false},
                                         BoolCase{L"False", true}, BoolCase{L"FALSE", true},
                                         BoolCase{L"0", true}, BoolCase{L"no", true},
                                         BoolCase{L" false", true}, BoolCase{L"true", true}));

struct FloatCase {
    const wchar_t* text;
    double expected;
};

void PrintTo(const FloatCase& c, std::ostream* out) {
    *out << testing::PrintToString(std::wstring(c.text));
}

class ToFloat : public testing::TestWithParam<FloatCase> {};

TEST_P(ToFloat, ReadsTheLeadingNumberInCNotation) {
    const FloatCase& c = GetParam();
    EXPECT_FLOAT_EQ(PropertyValue::toFloat(c.text), static_cast<float>(c.expected))
        << "text: " << c.text;
    EXPECT_DOUBLE_EQ(PropertyValue::toDouble(c.text), c.expected) << "text: " << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ToFloat,
                         testing::Values(FloatCase{L"1.5", 1.5}, FloatCase{L"-2.25", -2.25},
                                         FloatCase{L"  3", 3.0}, FloatCase{L"+.5", 0.5},
                                         FloatCase{L"1e3", 1000.0}, FloatCase{L"0x1.8p1", 3.0},
                                         FloatCase{L"12abc", 12.0},
                                         FloatCase{L"1,5", 1.0}, // never a decimal comma
                                         FloatCase{L"abc", 0.0}, FloatCase{L"", 0.0},
                                         FloatCase{L"+-1", 0.0}, FloatCase{L"1e-400", 0.0}));

TEST(ToFloat, HugeNumbersGiveInfinity) {
    EXPECT_TRUE(std::isinf(PropertyValue::toFloat(L"1e40")));
    EXPECT_TRUE(std::isinf(PropertyValue::toDouble(L"-1e400")));
    EXPECT_LT(PropertyValue::toDouble(L"-1e400"), 0.0);
}

struct SetFloatCase {
    float value;
    const wchar_t* text;
};

void PrintTo(const SetFloatCase& c, std::ostream* out) {
    *out << c.value;
}

class SetFloat : public testing::TestWithParam<SetFloatCase> {};

TEST_P(SetFloat, WritesSixDecimalsWithoutTrailingZeros) {
    PropertyValue value("v", 0.0F);
    value.setFloat(GetParam().value);
    EXPECT_EQ(value.getText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, SetFloat,
                         testing::Values(SetFloatCase{1.5F, L"1.5"}, SetFloatCase{2.0F, L"2"},
                                         SetFloatCase{0.0F, L"0"}, SetFloatCase{100.0F, L"100"},
                                         SetFloatCase{-0.5F, L"-0.5"}, SetFloatCase{0.1F, L"0.1"},
                                         SetFloatCase{0.0000001F, L"0"},
                                         SetFloatCase{1234567.0F, L"1234567"}));

TEST(PropertyValueConstruction, TypeNameAndTextFollowTheArgument) {
    struct Case {
        PropertyValue value;
        const char* typeName;
        const wchar_t* text;
    };
    const Case cases[] = {
        {PropertyValue("a", 42), "Integer", L"42"},
        {PropertyValue("a", -42, true), "", L"-42"},
        {PropertyValue("a", 5000000000L), "Integer", L"5000000000"},
        {PropertyValue("a", 2.5F), "Float", L"2.5"},
        {PropertyValue("a", std::string_view("caf\xC3\xA9")), "String", L"caf\u00E9"},
        {PropertyValue("a", std::wstring_view(L"Line\\n")), "Text", L"Line\\n"},
        {PropertyValue("a", "Boolean", 1), "Boolean", L"1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.getTypeName(), c.typeName);
        EXPECT_EQ(c.value.getText(), c.text);
        EXPECT_EQ(c.value.getName(), "a");
        EXPECT_EQ(c.value.getKind(), PropertyKind::Value);
    }
}

TEST(PropertyValueText, NarrowFormIsUtf8) {
    PropertyValue value("name", std::wstring_view(L"\u00C5ngstr\u00F6m \u6F22"));
    EXPECT_EQ(value.getString(), "\xC3\x85ngstr\xC3\xB6m \xE6\xBC\xA2");
    EXPECT_EQ(value.toString(), value.getString());
    value.setString("\xE2\x82\xAC");
    EXPECT_EQ(value.getText(), L"\u20AC");
}

TEST(DummyValue, StaysEmptyWhateverIsWritten) {
    DUMMY_VALUE->setText(L"x");
    DUMMY_VALUE->setString("y");
    DUMMY_VALUE->setFloat(1.5F);
    EXPECT_TRUE(DUMMY_VALUE->getText().empty());
    EXPECT_EQ(DUMMY_VALUE->getName(), "DUMMY_VALUE");
    EXPECT_TRUE(DUMMY_VALUE->getTypeName().empty());
}

TEST(DummyValue, SurvivesCountedReferences) {
    // Handles may come and go on a dummy found through a lookup; it must never
    // be freed by them.
    { const RefPtr<PropertyValue> held(DUMMY_VALUE); }
    { const RefPtr<PropertyNode> held(DUMMY_NODE); }
    { const RefPtr<PropertyVector> held(DUMMY_VECTOR); }
    EXPECT_EQ(DUMMY_VALUE->getName(), "DUMMY_VALUE");
    EXPECT_EQ(DUMMY_NODE->getName(), "DUMMY_NODE");
    EXPECT_EQ(DUMMY_VECTOR->getName(), "DUMMY_VECTOR");
}

TEST(ValueReaders, AnythingButAValueReadsAsEmpty) {
    PropertyNode node("n", "Sprite");
    EXPECT_EQ(PropertyValue::toInt(&node), 0);
    EXPECT_FALSE(PropertyValue::toBool(&node));
    EXPECT_EQ(PropertyValue::toFloat(nullptr), 0.0F);
    EXPECT_EQ(asValue(static_cast<AbstractProperty*>(&node)), DUMMY_VALUE);
}

} // namespace
} // namespace orv
