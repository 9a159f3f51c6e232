#include "core/tools/CrcCalculator.h"

#include <gtest/gtest.h>

#include <string>

using namespace dualvex;

namespace {

const std::uint8_t kCheckBytes[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};

enum ResultIndex { kA = 0, kA0 = 1, kAOnes = 2, kB = 3, kB0 = 4, kBOnes = 5, kC = 6, kC0 = 7, kCOnes = 8 };

// The calculator over "123456789", driven the way its dialog drives it: put a text in,
// call Update with the kind of change.
class CrcCalculatorTest : public ::testing::Test {
  protected:
    CrcCalculatorTest()
    {
        m_calc.SetData(kCheckBytes, sizeof kCheckBytes);
        m_calc.Update(kCrcChangeOther);
    }
    CrcFields& F() { return m_calc.Fields(); }
    void Type(std::string CrcFields::*field, const char* text, int change)
    {
        F().*field = text;
        m_calc.Update(change);
    }
    void ChoosePreset(int row)
    {
        F().preset = row;
        m_calc.Update(kCrcChangePreset);
    }
    void LeaveField() { m_calc.Update(kCrcChangeOther); }

    CrcCalculator m_calc;
};

} // namespace

TEST_F(CrcCalculatorTest, OpensWithTheDefaultCrc32)
{
    EXPECT_EQ(F().width, "32-Bit");
    EXPECT_EQ(F().widthListIndex, 8);
    EXPECT_EQ(F().reflected, "0xEDB88320");
    EXPECT_EQ(F().normal, "0x04C11DB7");
    EXPECT_EQ(F().start, "0xFFFFFFFF");
    EXPECT_EQ(F().preset, 16);
    EXPECT_EQ(F().length, "9 / 0x0009");
    EXPECT_EQ(F().formula,
              "x^32 + x^26 + x^23 + x^22 + x^16 + x^12 + x^11 + x^10 + x^8 + x^7 + x^5 + x^4 + x^2 + x + 1");
    EXPECT_EQ(F().results[kAOnes], "0x340BC6D9"); // CRC-32/JAMCRC
    EXPECT_EQ(F().source, "");
}

// Published check values over "123456789" of the standard models that a preset, an
// algorithm, a start value and the inversion compute.
TEST_F(CrcCalculatorTest, PresetsComputeTheStandardModels)
{
    struct Case {
        const char* model;
        int preset;
        const char* start;
        bool invert;
        int result;
        const char* expected;
    } cases[] = {
        {"CRC-32/ISO-HDLC", 16, "0xFFFFFFFF", true, kAOnes, "0xCBF43926"},
        {"CRC-32/ISO-HDLC", 16, "0xFFFFFFFF", true, kA, "0xCBF43926"},
        {"CRC-32/JAMCRC", 16, "0", false, kAOnes, "0x340BC6D9"},
        {"CRC-32/MPEG-2", 16, "0xFFFFFFFF", false, kB, "0x0376E6E7"},
        {"CRC-32/BZIP2", 16, "0", true, kBOnes, "0xFC891918"},
        {"CRC-32/CKSUM", 16, "0", true, kB, "0x765E7680"},
        {"CRC-64/GO-ISO", 17, "0", true, kAOnes, "0xB90956C775A41001"},
        {"CRC-64/XZ", 18, "0", true, kAOnes, "0x995DC9BBDF1939FA"},
        {"CRC-64/ECMA-182", 18, "0", false, kB, "0x6C40DF5F0B497347"},
        {"CRC-64/WE", 18, "0", true, kBOnes, "0x62EC59E3F1A4F00A"},
        {"CRC-24/OPENPGP", 15, "0xB704CE", false, kB, "0x21CF02"},
        {"CRC-16/ARC", 11, "0", false, kA, "0xBB3D"},
        {"CRC-16/MODBUS", 11, "0", false, kAOnes, "0x4B37"},
        {"CRC-16/MAXIM-DOW", 11, "0", true, kA0, "0x44C2"},
        {"CRC-16/USB", 11, "0", true, kAOnes, "0xB4C8"},
        {"CRC-16/UMTS", 11, "0", false, kB, "0xFEE8"},
        {"CRC-16/CMS", 11, "0", false, kBOnes, "0xAEE7"},
        {"CRC-16/KERMIT", 10, "0", false, kA, "0x2189"},
        {"CRC-16/MCRF4XX", 10, "0", false, kAOnes, "0x6F91"},
        {"CRC-16/IBM-SDLC", 10, "0", true, kAOnes, "0x906E"},
        {"CRC-16/XMODEM", 10, "0", false, kB0, "0x31C3"},
        {"CRC-16/IBM-3740", 10, "0xFFFF", false, kB, "0x29B1"},
        {"CRC-16/GENIBUS", 10, "0", true, kBOnes, "0xD64E"},
        {"CRC-16/DNP", 13, "0", true, kA, "0xEA82"},
        {"CRC-16/EN-13757", 13, "0", true, kB, "0xC2B7"},
        {"CRC-16/LJ1200", 14, "0", false, kB, "0xBDF4"},
        {"CRC-8/MAXIM-DOW", 5, "0", false, kA, "0xA1"},
        {"CRC-8/SMBUS", 6, "0", false, kB, "0xF4"},
        {"CRC-8/ROHC", 6, "0xFF", false, kA, "0xD0"},
        {"CRC-8/SAE-J1850", 7, "0", true, kBOnes, "0x4B"},
        {"CRC-8/GSM-A", 7, "0", false, kB, "0x37"},
        {"CRC-8/HITAG", 7, "0", false, kBOnes, "0xB4"},
        {"CRC-7/MMC", 4, "0", false, kC, "0x75"},
        {"CRC-5/USB", 2, "0", true, kAOnes, "0x19"},
        {"CRC-5/G-704", 3, "0", false, kA, "0x07"},
        {"CRC-4/G-704", 1, "0", false, kA, "0x7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ChoosePreset(c.preset);
        Type(&CrcFields::start, c.start, kCrcChangeStart);
        F().invert = c.invert;
        LeaveField();
        EXPECT_EQ(F().results[c.result], c.expected);
    }
}

// CRC-32/ISCSI has no preset: width and reflected polynomial typed in.
TEST_F(CrcCalculatorTest, FreelyDefinedCrc32c)
{
    Type(&CrcFields::reflected, "0x82F63B78", kCrcChangeReflected);
    F().invert = true;
    LeaveField();
    EXPECT_EQ(F().preset, 0);
    EXPECT_EQ(F().normal, "0x1EDC6F41");
    EXPECT_EQ(F().results[kAOnes], "0xE3069283"); // CRC-32/ISCSI
}

TEST_F(CrcCalculatorTest, Crc32FieldsWithAndWithoutInversion)
{
    EXPECT_EQ(F().results[kAOnes], "0x340BC6D9");
    F().invert = true;
    LeaveField();
    EXPECT_EQ(F().results[kAOnes], "0xCBF43926");
}

TEST_F(CrcCalculatorTest, FormulaSetsWidthPolynomialsAndPreset)
{
    Type(&CrcFields::formula, "x^16+x^12+x^5+1", kCrcChangeFormula);
    EXPECT_FALSE(F().formulaInvalid);
    EXPECT_EQ(m_calc.Width(), 16u);
    EXPECT_EQ(F().width, "16-Bit");
    EXPECT_EQ(F().widthListIndex, 6);
    EXPECT_EQ(F().normal, "0x1021");
    EXPECT_EQ(F().reflected, "0x8408");
    EXPECT_EQ(F().preset, 10);
    EXPECT_EQ(F().formula, "x^16+x^12+x^5+1"); // the text being typed stays as it is
}

TEST_F(CrcCalculatorTest, ThreeBitFormula)
{
    Type(&CrcFields::formula, "x^3+x+1", kCrcChangeFormula);
    EXPECT_EQ(F().width, "3-Bit");
    EXPECT_EQ(F().widthListIndex, -1);
    EXPECT_EQ(F().normal, "0x3");
    EXPECT_EQ(F().reflected, "0x6");
    EXPECT_EQ(F().preset, 0);
    LeaveField();
    EXPECT_EQ(F().formula, "x^3 + x + 1");
}

TEST_F(CrcCalculatorTest, InvalidFormulaKeepsThePolynomialUntilRewritten)
{
    ChoosePreset(11);
    Type(&CrcFields::formula, "x^3 + y", kCrcChangeFormula);
    EXPECT_TRUE(F().formulaInvalid);
    EXPECT_EQ(m_calc.Width(), 16u);
    EXPECT_EQ(F().reflected, "0xA001");
    EXPECT_EQ(F().preset, 11);
    EXPECT_EQ(F().results[kA0], "0xBB3D"); // CRC-16/ARC
    LeaveField();
    EXPECT_FALSE(F().formulaInvalid);
    EXPECT_EQ(F().formula, "x^16 + x^15 + x^2 + 1");
}

TEST_F(CrcCalculatorTest, TypedDigitsComeBackWhenTheWidthGrows)
{
    Type(&CrcFields::width, "16-Bit", kCrcChangeWidth);
    LeaveField();
    Type(&CrcFields::reflected, "0x12345", kCrcChangeReflected);
    EXPECT_EQ(m_calc.Reflected(), 0x2345u);
    EXPECT_EQ(F().reflected, "0x12345");
    LeaveField();
    EXPECT_EQ(F().reflected, "0x2345");
    Type(&CrcFields::width, "24-Bit", kCrcChangeWidth);
    EXPECT_EQ(F().reflected, "0x012345");
    EXPECT_EQ(F().normal, "0xA2C480"); // the normal form follows the restored value
    Type(&CrcFields::width, "16-Bit", kCrcChangeWidth);
    EXPECT_EQ(F().reflected, "0x2345");
    EXPECT_EQ(F().normal, "0xA2C4");
}

TEST_F(CrcCalculatorTest, StartValueSurvivesANarrowWidth)
{
    Type(&CrcFields::start, "0x12345678", kCrcChangeStart);
    Type(&CrcFields::width, "16", kCrcChangeWidth);
    EXPECT_EQ(F().start, "0x5678");
    EXPECT_EQ(F().width, "16"); // the width being typed is not rewritten
    Type(&CrcFields::width, "32", kCrcChangeWidth);
    EXPECT_EQ(F().start, "0x12345678");
    Type(&CrcFields::start, "0x1", kCrcChangeStart);
    Type(&CrcFields::width, "8", kCrcChangeWidth);
    Type(&CrcFields::width, "32", kCrcChangeWidth);
    EXPECT_EQ(F().start, "0x00000001");
}

// Once the polynomial is given another way, a later width change must not bring back
// an older typed one.
TEST_F(CrcCalculatorTest, PolynomialGivenAnotherWayReplacesTheTypedOne)
{
    Type(&CrcFields::reflected, "0x12345678", kCrcChangeReflected);
    Type(&CrcFields::normal, "0x04C11DB7", kCrcChangeNormal);
    EXPECT_EQ(F().reflected, "0xEDB88320");
    EXPECT_EQ(F().normal, "0x04C11DB7");
    Type(&CrcFields::width, "32", kCrcChangeWidth);
    EXPECT_EQ(F().reflected, "0xEDB88320");
    EXPECT_EQ(F().preset, 16);

    Type(&CrcFields::reflected, "0x12345678", kCrcChangeReflected);
    ChoosePreset(12);
    Type(&CrcFields::width, "16", kCrcChangeWidth);
    EXPECT_EQ(F().reflected, "0x1021");
}

TEST_F(CrcCalculatorTest, WidthIsClamped)
{
    Type(&CrcFields::width, "100", kCrcChangeWidth);
    EXPECT_EQ(m_calc.Width(), 64u);
    EXPECT_EQ(F().width, "100");
    LeaveField();
    EXPECT_EQ(F().width, "64-Bit");
    EXPECT_EQ(F().widthListIndex, 9);
    Type(&CrcFields::width, "0-Bit", kCrcChangeWidth);
    EXPECT_EQ(m_calc.Width(), 32u);
    Type(&CrcFields::width, "kein", kCrcChangeWidth);
    EXPECT_EQ(m_calc.Width(), 32u);
}

TEST_F(CrcCalculatorTest, Width64UsesAllBits)
{
    Type(&CrcFields::width, "64-Bit", kCrcChangeWidth);
    Type(&CrcFields::start, "-1", kCrcChangeStart);
    LeaveField();
    EXPECT_EQ(m_calc.Mask(), ~std::uint64_t{0});
    EXPECT_EQ(F().start, "0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(F().reflected, "0x00000000EDB88320");
}

TEST_F(CrcCalculatorTest, FreelyDefinedRowChangesNothing)
{
    ChoosePreset(13);
    const CrcFields before = F();
    ChoosePreset(0);
    EXPECT_EQ(F().preset, 0);
    EXPECT_EQ(F().width, before.width);
    EXPECT_EQ(F().reflected, before.reflected);
    EXPECT_EQ(F().normal, before.normal);
    EXPECT_EQ(F().start, before.start);
    EXPECT_EQ(F().results, before.results);
}

TEST_F(CrcCalculatorTest, PresetFollowsTypedParameters)
{
    Type(&CrcFields::width, "16", kCrcChangeWidth);
    Type(&CrcFields::reflected, "0xA001", kCrcChangeReflected);
    EXPECT_EQ(F().preset, 11);
    Type(&CrcFields::reflected, "0xA002", kCrcChangeReflected);
    EXPECT_EQ(F().preset, 0);
    Type(&CrcFields::normal, "0x1021", kCrcChangeNormal);
    EXPECT_EQ(F().preset, 10);
}

TEST_F(CrcCalculatorTest, UnreadableNumbersCountAsZero)
{
    Type(&CrcFields::reflected, "zz", kCrcChangeReflected);
    EXPECT_EQ(m_calc.Reflected(), 0u);
    EXPECT_EQ(F().normal, "0x00000000");
    Type(&CrcFields::start, "", kCrcChangeStart);
    EXPECT_EQ(m_calc.Start(), 0u);
}

TEST_F(CrcCalculatorTest, NumberNotations)
{
    Type(&CrcFields::start, "0b101", kCrcChangeStart);
    EXPECT_EQ(m_calc.Start(), 5u);
    Type(&CrcFields::start, "0o17", kCrcChangeStart);
    EXPECT_EQ(m_calc.Start(), 15u);
    Type(&CrcFields::start, "0d99", kCrcChangeStart);
    EXPECT_EQ(m_calc.Start(), 99u);
    Type(&CrcFields::start, "99", kCrcChangeStart);
    EXPECT_EQ(m_calc.Start(), 99u);
}

TEST_F(CrcCalculatorTest, NoDataGivesTheStartValues)
{
    m_calc.SetData(nullptr, 0);
    Type(&CrcFields::start, "0x1234", kCrcChangeStart);
    F().invert = true;
    LeaveField();
    EXPECT_EQ(F().length, "0 / 0x0000");
    const char* expected[] = {"0xFFFFEDCB", "0xFFFFFFFF", "0x00000000"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(F().results[i], expected[i % 3]) << i;
}

TEST_F(CrcCalculatorTest, SourceFollowsAlgorithmPolynomialAndStart)
{
    F().algorithm = CrcAlgorithm::A;
    LeaveField();
    EXPECT_NE(F().source.find("#define     POLYNOM 0xEDB88320"), std::string::npos);
    EXPECT_NE(F().source.find("uCrc = 0xFFFFFFFF;"), std::string::npos);
    Type(&CrcFields::start, "0x5", kCrcChangeStart);
    EXPECT_NE(F().source.find("uCrc = 0x00000005;"), std::string::npos);
    F().algorithm = CrcAlgorithm::B;
    LeaveField();
    EXPECT_NE(F().source.find("#define     POLYNOM 0x04C11DB7"), std::string::npos);
    ChoosePreset(4);
    EXPECT_EQ(F().source.rfind("typedef unsigned char CrcType;", 0), 0u);
    F().algorithm = CrcAlgorithm::None;
    LeaveField();
    EXPECT_EQ(F().source, "");
}

TEST(CrcCalculatorSetup, StoredTextsAndCallerParameters)
{
    CrcCalculator calc;
    calc.LoadTexts("16-Bit", "", nullptr);
    calc.Update(kCrcChangeOther);
    EXPECT_EQ(calc.Fields().width, "16-Bit");
    EXPECT_EQ(calc.Fields().reflected, "0x8320");
    EXPECT_EQ(calc.Fields().start, "0xFFFF");

    calc.SetParameters(8, 0x8C, 0x1FF);
    calc.Update(kCrcChangeOther);
    EXPECT_EQ(calc.Fields().width, "8-Bit");
    EXPECT_EQ(calc.Fields().preset, 5);
    EXPECT_EQ(calc.Fields().start, "0xFF");
}

TEST(CrcCalculatorSetup, ByteCountText)
{
    CrcCalculator calc;
    static const std::uint8_t bytes[0x12345] = {};
    calc.SetData(bytes, sizeof bytes);
    EXPECT_EQ(calc.Fields().length, "74565 / 0x12345");
}
