#include "core/tools/FloatConverter.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

using namespace dualvex;

namespace {

FloatConverter Open(std::vector<std::uint8_t> bytes)
{
    return FloatConverter(bytes.data(), static_cast<int>(bytes.size()));
}

const std::string& Text(const FloatFieldTexts& t, int field)
{
    static const std::string kNone = "<unchanged>";
    const auto& text = t.texts[static_cast<std::size_t>(field)];
    return text ? *text : kNone;
}

TEST(FloatConverter, OpeningOnTheDoubleOne)
{
    const FloatConverter c = Open({0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    const FloatFieldTexts t = c.AllTexts();
    EXPECT_EQ(Text(t, kFloatFieldDoubleValue), "1");
    EXPECT_EQ(Text(t, kFloatFieldDoubleExponent), "0  >3FFh");
    EXPECT_EQ(Text(t, kFloatFieldDoubleMantissa), "0  >0000h");
    EXPECT_EQ(Text(t, kFloatFieldFloatValue), "0");
    EXPECT_EQ(Text(t, kFloatFieldFloatExponent), "-127  >00h");
    EXPECT_EQ(Text(t, kFloatFieldFloatMantissa), "0  >0000h");
    EXPECT_EQ(Text(t, kFloatFieldHexDump), ":00 00 00 00 00 00 F0 3F ");
    EXPECT_EQ(c.Mode(), FloatMode::BytesEntered);
    EXPECT_EQ(c.ByteCount(), 8);
}

TEST(FloatConverter, MissingBytesAreZero)
{
    const std::uint8_t data[] = {0xDB, 0x0F, 0x49, 0x40, 0xAA, 0xBB};
    const FloatConverter c(data, 4); // only four of them are available
    EXPECT_EQ(Text(c.AllTexts(), kFloatFieldHexDump), ":DB 0F 49 40 00 00 00 00 ");
    EXPECT_EQ(Text(c.AllTexts(), kFloatFieldFloatValue), "3.14159");
}

TEST(FloatConverter, TypingIntoTheFloatField)
{
    FloatConverter c = Open({});
    const FloatFieldTexts t = c.FieldChanged(kFloatFieldFloatValue, "1.5");
    EXPECT_FALSE(t.texts[kFloatFieldFloatValue].has_value()); // the field being typed stays
    EXPECT_EQ(Text(t, kFloatFieldHexDump), ":00 00 C0 3F ");
    EXPECT_EQ(Text(t, kFloatFieldFloatExponent), "0  >7Fh");
    EXPECT_EQ(Text(t, kFloatFieldFloatMantissa), "4194304  >400000h");
    EXPECT_EQ(c.Mode(), FloatMode::FloatEntered);
    EXPECT_EQ(c.ByteCount(), 4);
    EXPECT_EQ(c.DoubleBits(), 0x3FC00000u); // upper half zero
}

TEST(FloatConverter, ValueTexts)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0x3FF0000000000000", 4607182418800017408.0}, // the number's value, not its bit pattern
        {"1e5", 1},                                    // letters and digits only: an integer text
        {"1.0e5", 100000},
        {"1Ah", 26},
        {"-0x10", -16},
        {"0xFFFFFFFFFFFFFFFF", 18446744073709551615.0},
        {"  2.5  > ignored", 2.5},
        {"+3.25", 3.25},
        {"-0.5", -0.5},
        {"abc", 0}, // unreadable
        {"", 0},
        {"1,5", 1},
        {"1.5.3", 1.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadFloatValueText(c.text), c.value);
    }
}

TEST(FloatConverter, TypingIntoTheDoubleField)
{
    FloatConverter c = Open({});
    const FloatFieldTexts t = c.FieldChanged(kFloatFieldDoubleValue, "0x3FF0000000000000");
    EXPECT_EQ(c.DoubleBits(), std::bit_cast<std::uint64_t>(4607182418800017408.0));
    EXPECT_EQ(c.Mode(), FloatMode::DoubleEntered);
    EXPECT_FALSE(t.texts[kFloatFieldDoubleValue].has_value());
    // The float takes the value rounded to single precision; the double shows the float's
    // pattern with a zero upper half.
    FloatConverter d = Open({});
    const FloatFieldTexts f = d.FieldChanged(kFloatFieldFloatValue, "0x3FF0000000000000");
    EXPECT_EQ(d.FloatBits(), std::bit_cast<std::uint32_t>(4607182418800017408.0f));
    EXPECT_EQ(d.DoubleBits(), d.FloatBits());
    EXPECT_EQ(Text(f, kFloatFieldFloatExponent), "61  >BCh"); // just below 2^62
    // The float of a typed double is its first four bytes, not the rounded value.
    d.FieldChanged(kFloatFieldDoubleValue, "3.5");
    EXPECT_EQ(d.FloatBits(), 0u);
    EXPECT_EQ(Text(d.AllTexts(), kFloatFieldFloatValue), "0");
}

TEST(FloatConverter, ExponentFields)
{
    FloatConverter c = Open({0, 0, 0, 0, 0, 0, 0xF0, 0x3F}); // 1.0
    FloatFieldTexts t = c.FieldChanged(kFloatFieldDoubleExponent, "3");
    EXPECT_EQ(Text(t, kFloatFieldDoubleValue), "8");
    EXPECT_TRUE(t.valid[kFloatFieldDoubleExponent - 3]);
    t = c.FieldChanged(kFloatFieldDoubleExponent, "0  >400h"); // after ">" the stored exponent
    EXPECT_EQ(Text(t, kFloatFieldDoubleValue), "2");
    t = c.FieldChanged(kFloatFieldDoubleExponent, "2048");
    EXPECT_FALSE(t.valid[kFloatFieldDoubleExponent - 3]);
    EXPECT_FALSE(c.Valid(kFloatFieldDoubleExponent));
    EXPECT_EQ(c.DoubleBits() >> 52, (2048u + 1023u) & 0x7FF); // only the low bits are used
    t = c.FieldChanged(kFloatFieldDoubleExponent, "-1023");
    EXPECT_TRUE(t.valid[kFloatFieldDoubleExponent - 3]);
    EXPECT_EQ(Text(t, kFloatFieldDoubleValue), "0");
    t = c.FieldChanged(kFloatFieldDoubleExponent, "-1024");
    EXPECT_FALSE(t.valid[kFloatFieldDoubleExponent - 3]);

    FloatConverter f = Open({0, 0, 0x80, 0x3F}); // float 1.0
    t = f.FieldChanged(kFloatFieldFloatExponent, "1");
    EXPECT_EQ(Text(t, kFloatFieldFloatValue), "2");
    EXPECT_EQ(Text(t, kFloatFieldHexDump), ":00 00 00 40 ");
    t = f.FieldChanged(kFloatFieldFloatExponent, "> 0x100");
    EXPECT_FALSE(t.valid[kFloatFieldFloatExponent - 3]);
    t = f.FieldChanged(kFloatFieldFloatExponent, ">0FFh");
    EXPECT_TRUE(t.valid[kFloatFieldFloatExponent - 3]);
    EXPECT_EQ(Text(t, kFloatFieldFloatValue), "inf");
}

TEST(FloatConverter, MantissaFields)
{
    FloatConverter c = Open({0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    FloatFieldTexts t = c.FieldChanged(kFloatFieldDoubleMantissa, "0  >8000000000000h");
    EXPECT_EQ(Text(t, kFloatFieldDoubleValue), "1.5");
    EXPECT_TRUE(t.valid[0]);
    t = c.FieldChanged(kFloatFieldDoubleMantissa, "1 << 52");
    EXPECT_FALSE(t.valid[0]);
    EXPECT_EQ(Text(t, kFloatFieldDoubleValue), "1"); // the low 52 bits are zero
    t = c.FieldChanged(kFloatFieldFloatMantissa, "4194304");
    EXPECT_TRUE(t.valid[1]);
    EXPECT_EQ(Text(t, kFloatFieldFloatMantissa).substr(0, 1), "<"); // the edited field is left alone
    EXPECT_EQ(Text(t, kFloatFieldHexDump), ":00 00 40 00 ");
    t = c.FieldChanged(kFloatFieldFloatMantissa, "-1");
    EXPECT_FALSE(t.valid[1]);
    EXPECT_EQ(c.FloatBits(), 0x7FFFFFu);
}

TEST(FloatConverter, HexDumpField)
{
    FloatConverter c = Open({});
    const FloatFieldTexts t = c.FieldChanged(kFloatFieldHexDump, "00 00 00 00 00 00 24 40");
    EXPECT_EQ(Text(t, kFloatFieldDoubleValue), "10");
    EXPECT_FALSE(t.texts[kFloatFieldHexDump].has_value());
    EXPECT_EQ(c.Mode(), FloatMode::BytesEntered);
    c.FieldChanged(kFloatFieldHexDump, ":01 02");
    EXPECT_EQ(c.Bytes(), (std::array<std::uint8_t, 8>{1, 2, 0, 0, 0, 0, 0, 0}));
}

TEST(FloatConverter, Swaps)
{
    const struct {
        FloatSwap swap;
        const char* in;
        const char* out;
    } cases[] = {
        {FloatSwap::QWords, "01 02 03 04 05 06 07 08", "05 06 07 08 01 02 03 04 "},
        {FloatSwap::Words, ":01 02 03 04 05 06 07 08", ":03 04 01 02 07 08 05 06 "},
        {FloatSwap::Bytes, " :01 02 03 04 05 06 07 08", ":02 01 04 03 06 05 08 07 "},
        {FloatSwap::Bytes, "01 02 03", "02 01 00 03 00 00 00 00 "},
        {FloatSwap::QWords, "", "00 00 00 00 00 00 00 00 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        FloatConverter converter = Open({});
        const FloatFieldTexts t = converter.Swap(c.swap, c.in);
        EXPECT_EQ(Text(t, kFloatFieldHexDump), c.out);
        EXPECT_EQ(converter.Mode(), FloatMode::BytesEntered);
    }
}

TEST(FloatConverter, FocusCutsAtTheMark)
{
    EXPECT_EQ(FloatConverter::FocusGainedText("4194304  >400000h"), "4194304");
    EXPECT_EQ(FloatConverter::FocusGainedText("  -3 "), "-3");
    FloatConverter c = Open({0, 0, 0, 0, 0, 0, 0xF0, 0x3F});
    c.FieldChanged(kFloatFieldDoubleExponent, "1");
    EXPECT_EQ(c.FieldText(kFloatFieldDoubleExponent), "1  >400h");
}

TEST(FloatConverter, OverlongTextsAreCut)
{
    FloatConverter c = Open({});
    const std::string longText = "1" + std::string(500, '0');
    const FloatFieldTexts t = c.FieldChanged(kFloatFieldDoubleValue, longText);
    EXPECT_EQ(Text(t, kFloatFieldFloatValue).size() <= 63, true);
    EXPECT_EQ(c.FieldText(kFloatFieldDoubleValue), "1e+127"); // the first 128 characters only
    c.FieldChanged(kFloatFieldDoubleValue, "-1.7976931348623157e308");
    EXPECT_EQ(c.FieldText(kFloatFieldDoubleValue), "-1.79769e+308");
}

} // namespace
