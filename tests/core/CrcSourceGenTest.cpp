#include "core/tools/CrcSourceGen.h"
#include "core/tools/CrcEngine.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace dualvex;

namespace {

// A generator input with tables built for the polynomial.
struct Source {
    CrcTables tables;
    CrcSourceInput input;

    Source(CrcAlgorithm algorithm, unsigned width, std::uint64_t reflected, std::uint64_t start)
    {
        tables.Build(reflected, width);
        const CrcTable* table[] = {&tables.a, &tables.b, &tables.c};
        input.algorithm = algorithm;
        input.width = width;
        input.table = table[static_cast<int>(algorithm) - 1];
        input.start = start;
        input.reflected = reflected;
        input.normal = BitReverse(reflected, width);
    }
    std::string Text() const { return GenerateCrcSource(input); }
};

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (true) {
        const std::size_t end = text.find("\r\n", begin);
        lines.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
        if (end == std::string::npos) return lines;
        begin = end + 2;
    }
}

// The lines after the table, from the closing "    };" on.
std::vector<std::string> BodyLines(const std::string& text)
{
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "    };") return {lines.begin() + static_cast<long>(i), lines.end()};
    }
    return {};
}

int CountTableLines(const std::string& text)
{
    int count = 0;
    for (const std::string& line : SplitLines(text)) count += line.rfind("    0x", 0) == 0 ? 1 : 0;
    return count;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(CrcSourceGen, Crc32AlgorithmAText)
{
    const std::string text = Source(CrcAlgorithm::A, 32, 0xEDB88320, 0xFFFFFFFF).Text();
    EXPECT_EQ(text.rfind("typedef unsigned int CrcType;\r\n\r\nCrcType aCrcTable[256] =\r\n    {\r\n"
                         "    0x00000000 , 0x77073096 , 0xEE0E612C , 0x990951BA , \r\n",
                         0),
              0u);
    EXPECT_EQ(CountTableLines(text), 64);
    const std::vector<std::string> expected = {
        "    };",
        "",
        "CrcType CrcCalc(const void *pMem,int iLen)",
        "{",
        "unsigned char  *pPtr = (unsigned char*)pMem;",
        "CrcType         uCrc = 0xFFFFFFFF;",
        "",
        "    while(iLen>0)",
        "        {",
        "        uCrc = aCrcTable[(uCrc^*pPtr)&0xFF] ^ (uCrc>>8);",
        "        pPtr++;",
        "        iLen--;",
        "        }",
        "",
        "return uCrc;",
        "}",
        "",
        "void CrcGenerateTable()",
        "{",
        "#define     POLYNOM 0xEDB88320",
        "unsigned    uPos;",
        "unsigned    uOff;",
        "CrcType     uVal;",
        "",
        "    for(uPos=0;uPos<256;uPos++)",
        "        {",
        "        uVal = uPos;",
        "",
        "        for(uOff=0;uOff<8;uOff++)",
        "            {",
        "            uVal = (uVal >> 1) ^ (POLYNOM & ~((uVal&1)-1));",
        "            }",
        "",
        "        aCrcTable[uPos] = uVal;",
        "        }",
        "}",
    };
    EXPECT_EQ(BodyLines(text), expected);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r'));
    EXPECT_EQ(text.substr(text.size() - 3), "\r\n}"); // no line end after the last line
}

TEST(CrcSourceGen, TwelveBitAlgorithmBText)
{
    const std::string text = Source(CrcAlgorithm::B, 12, 0xF01, 0x123).Text();
    EXPECT_EQ(text.rfind("typedef unsigned short CrcType;", 0), 0u);
    EXPECT_EQ(CountTableLines(text), 32);
    const std::vector<std::string> expected = {
        "    };",
        "",
        "CrcType CrcCalc(const void *pMem,int iLen)",
        "{",
        "unsigned char  *pPtr = (unsigned char*)pMem;",
        "unsigned char   ucByte;",
        "CrcType         uCrc = 0x123;",
        "",
        "    while(iLen>0)",
        "        {",
        "        uCrc   &= 0xFFF;",
        "        ucByte  = (unsigned char)((uCrc>>8)^*pPtr);",
        "        uCrc    = aCrcTable[ucByte]^(uCrc<<8);",
        "        pPtr++;",
        "        iLen--;",
        "        }",
        "",
        "return uCrc&0xFFF;",
        "}",
        "",
        "void CrcGenerateTable()",
        "{",
        "#define     POLYNOM 0x80F",
        "unsigned    uPos;",
        "unsigned    uOff;",
        "CrcType     uXor;",
        "CrcType     uVal;",
        "",
        "    for(uPos=0;uPos<256;uPos++)",
        "        {",
        "        uVal = 0;",
        "        uXor = (CrcType)uPos<<8;",
        "",
        "        for(uOff=0;uOff<8;uOff++)",
        "            {",
        "            if((uVal^uXor)&0x800)",
        "                    uVal = (uVal<<1)^POLYNOM;",
        "            else    uVal = (uVal<<1);",
        "",
        "            uXor <<= 1;",
        "            }",
        "",
        "        aCrcTable[uPos] = uVal&0xFFF;",
        "        }",
        "}",
    };
    EXPECT_EQ(BodyLines(text), expected);
}

TEST(CrcSourceGen, SevenBitAlgorithmCText)
{
    const std::string text = Source(CrcAlgorithm::C, 7, 0x48, 0).Text();
    EXPECT_EQ(text.rfind("typedef unsigned char CrcType;", 0), 0u);
    const std::vector<std::string> lines = SplitLines(text);
    EXPECT_EQ(CountTableLines(text), 22);
    EXPECT_EQ(lines[4],
              "    0x00 , 0x09 , 0x12 , 0x1B , 0x24 , 0x2D , 0x36 , 0x3F , 0x48 , 0x41 , 0x5A , 0x53 , ");
    EXPECT_EQ(lines[25].size(), 4 * std::string("0x00 , ").size() + 4); // the last table line: 4 values
    const std::vector<std::string> expected = {
        "    };",
        "",
        "CrcType CrcCalc(const void *pMem,int iLen)",
        "{",
        "unsigned char  *pPtr = (unsigned char*)pMem;",
        "CrcType         uCrc = 0x00;",
        "",
        "    while(iLen>0)",
        "        {",
        "        uCrc = aCrcTable[(uCrc<<1)^*pPtr];",
        "        pPtr++;",
        "        iLen--;",
        "        }",
        "",
        "return uCrc;",
        "}",
        "",
        "void CrcGenerateTable()",
        "{",
        "#define     POLYNOM 0x89",
        "unsigned    uPos;",
        "unsigned    uOff;",
        "CrcType     uVal;",
        "",
        "    for(uPos=0;uPos<256;uPos++)",
        "        {",
        "        uVal = (uPos&0x80)? uPos^POLYNOM:uPos;",
        "",
        "        for(uOff=1;uOff<8;uOff++)",
        "            {",
        "            if(uVal&0x40)",
        "                {",
        "                uVal <<= 1;",
        "                uVal ^= POLYNOM;",
        "                }",
        "            else{",
        "                uVal <<= 1;",
        "                }",
        "            }",
        "",
        "        aCrcTable[uPos] = uVal;",
        "        }",
        "}",
    };
    EXPECT_EQ(BodyLines(text), expected);
}

TEST(CrcSourceGen, WidthDependentPieces)
{
    const std::string b16 = Source(CrcAlgorithm::B, 16, 0x8408, 0).Text();
    EXPECT_TRUE(Contains(b16, "        {\r\n        ucByte  = (unsigned char)((uCrc>>8)^*pPtr);"));
    EXPECT_TRUE(Contains(b16, "return uCrc;"));
    EXPECT_TRUE(Contains(b16, "aCrcTable[uPos] = uVal;"));
    const std::string b8 = Source(CrcAlgorithm::B, 8, 0xE0, 0).Text();
    EXPECT_TRUE(Contains(b8, "        ucByte  = (unsigned char)(uCrc^*pPtr);"));
    EXPECT_TRUE(Contains(b8, "        uCrc    = aCrcTable[ucByte]^(uCrc<<8);"));
    EXPECT_TRUE(Contains(b8, "        uXor = (CrcType)uPos<<0;"));
    const std::string b32 = Source(CrcAlgorithm::B, 32, 0xEDB88320, 0).Text();
    EXPECT_TRUE(Contains(b32, "(unsigned char)((uCrc>>24)^*pPtr);"));
    EXPECT_TRUE(Contains(b32, "#define     POLYNOM 0x04C11DB7"));
    const std::string c8 = Source(CrcAlgorithm::C, 8, 0xE0, 0).Text();
    EXPECT_TRUE(Contains(c8, "        uCrc = aCrcTable[((uCrc<<1)^*pPtr)&0xFF];"));
    EXPECT_TRUE(Contains(c8, "#define     POLYNOM 0x107"));
    const std::string a8 = Source(CrcAlgorithm::A, 8, 0xE0, 0).Text();
    EXPECT_TRUE(Contains(a8, "        uCrc = aCrcTable[uCrc^*pPtr];"));
    const std::string a64 = Source(CrcAlgorithm::A, 64, 0xC96C5795D7870F42, ~std::uint64_t{0}).Text();
    EXPECT_EQ(a64.rfind("typedef unsigned long long CrcType;", 0), 0u);
    EXPECT_EQ(CountTableLines(a64), 128);
    EXPECT_TRUE(Contains(a64, "CrcType         uCrc = 0xFFFFFFFFFFFFFFFF;"));
    const std::string c64 = Source(CrcAlgorithm::C, 64, 0xC96C5795D7870F42, 0).Text();
    EXPECT_TRUE(Contains(c64, "uVal = (uPos&0x0000000000000000)? uPos^POLYNOM:uPos;"));
    EXPECT_TRUE(Contains(c64, "#define     POLYNOM 0x42F0E1EBA9EA3693"));
    EXPECT_TRUE(Contains(c64, "if(uVal&0x8000000000000000)"));
}

TEST(CrcSourceGen, NothingWithoutAlgorithmOrTable)
{
    Source none(CrcAlgorithm::A, 32, 0xEDB88320, 0);
    none.input.algorithm = CrcAlgorithm::None;
    EXPECT_EQ(none.Text(), "");
    none.input.algorithm = CrcAlgorithm::A;
    none.input.table = nullptr;
    EXPECT_EQ(none.Text(), "");
}

TEST(CrcSourceGen, EveryWidthStaysWithinTheLimit)
{
    for (unsigned width = 1; width <= 64; ++width) {
        for (CrcAlgorithm algorithm : {CrcAlgorithm::A, CrcAlgorithm::B, CrcAlgorithm::C}) {
            const std::string text = Source(algorithm, width, CrcMask(width), CrcMask(width)).Text();
            EXPECT_LE(text.size(), kCrcSourceLimit);
            EXPECT_EQ(text.substr(text.size() - 3), "\r\n}") << width;
        }
    }
}

namespace {

struct CompiledCase {
    CrcAlgorithm algorithm;
    unsigned width;
    std::uint64_t reflected;
    std::uint64_t start;
    std::uint64_t expected; // the calculator's result before inversion
    bool tableRebuilds;     // whether CrcGenerateTable() should give the same table
};

// Each generated text is compiled in its own unit whose names are renamed by macros,
// so one compiler run builds every case into one program.
std::string Wrapper(int k)
{
    const std::string n = std::to_string(k);
    return "#define CrcType CrcType_" + n + "\n#define aCrcTable aCrcTable_" + n +
           "\n#define CrcCalc CrcCalc_" + n + "\n#define CrcGenerateTable CrcGenerateTable_" + n +
           "\n#include \"gen_" + n +
           ".c\"\n#include <string.h>\n"
           "unsigned long long Run_" +
           n +
           "(const void* p, int n) { return (unsigned long long)CrcCalc(p, n); }\n"
           "int Regen_" +
           n +
           "(void)\n{\n    CrcType saved[256];\n    memcpy(saved, aCrcTable, sizeof saved);\n"
           "    memset(aCrcTable, 0, sizeof aCrcTable);\n    CrcGenerateTable();\n"
           "    return memcmp(saved, aCrcTable, sizeof saved) == 0;\n}\n";
}

std::string MainProgram(const std::vector<std::uint8_t>& data, int cases)
{
    std::string text = "#include <stdio.h>\nstatic const unsigned char data[] = {";
    for (std::uint8_t b : data) text += std::to_string(b) + ",";
    text += "};\n";
    for (int k = 0; k < cases; ++k) {
        text += "unsigned long long Run_" + std::to_string(k) + "(const void*, int);\nint Regen_" +
                std::to_string(k) + "(void);\n";
    }
    text += "int main(void)\n{\n";
    for (int k = 0; k < cases; ++k) {
        const std::string n = std::to_string(k);
        text += "    printf(\"%llu \", Run_" + n +
                "(data, (int)sizeof data));\n    printf(\"%d\\n\", Regen_" + n + "());\n";
    }
    return text + "    return 0;\n}\n";
}

bool HaveCompiler()
{
    return std::system("cc --version > /dev/null 2>&1") == 0;
}

} // namespace

// The promise of the generated source: compiled by a C compiler and run over the same
// bytes, it returns what the calculator shows for that algorithm.
TEST(CrcSourceGen, GeneratedSourceCompilesAndReproducesTheCalculator)
{
    if (!HaveCompiler()) GTEST_SKIP() << "no C compiler";
    std::mt19937_64 rng(0x5EED);
    std::vector<std::uint8_t> data = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    for (int i = 0; i < 300; ++i) data.push_back(static_cast<std::uint8_t>(rng()));

    const unsigned widths[] = {1, 3, 4, 5, 7, 8, 9, 12, 15, 16, 17, 24, 31, 32, 33, 40, 48, 57, 63, 64};
    test::TempDir dir;
    std::vector<CompiledCase> cases;
    std::string command = "cd '" + dir.Path().string() + "' && cc -std=c99 -O1 -w -o crcprog main.c";
    for (unsigned width : widths) {
        for (CrcAlgorithm algorithm : {CrcAlgorithm::A, CrcAlgorithm::B, CrcAlgorithm::C}) {
            const std::uint64_t reflected = rng() & CrcMask(width);
            const std::uint64_t start = rng() & CrcMask(width);
            Source source(algorithm, width, reflected, start);
            std::uint64_t expected = 0;
            if (algorithm == CrcAlgorithm::A)
                expected = ComputeA(start, data.data(), data.size(), source.tables);
            if (algorithm == CrcAlgorithm::B) {
                expected = ComputeB(start, data.data(), data.size(), source.tables);
            }
            if (algorithm == CrcAlgorithm::C)
                expected = ComputeC(start, data.data(), data.size(), source.tables);
            // The table builders of the text rebuild the calculator's tables where their
            // registers are wide enough: C reduces only from width 7 up and not at 64.
            // B keeps its input byte in the register's own type, so every width rebuilds.
            const bool rebuilds = algorithm == CrcAlgorithm::A || algorithm == CrcAlgorithm::B ||
                                  (algorithm == CrcAlgorithm::C && width >= 7 && width < 64);
            const int k = static_cast<int>(cases.size());
            dir.Write("gen_" + std::to_string(k) + ".c", source.Text());
            dir.Write("wrap_" + std::to_string(k) + ".c", Wrapper(k));
            command += " wrap_" + std::to_string(k) + ".c";
            cases.push_back({algorithm, width, reflected, start, expected, rebuilds});
        }
    }
    dir.Write("main.c", MainProgram(data, static_cast<int>(cases.size())));
    ASSERT_EQ(std::system((command + " 2> cc.log").c_str()), 0) << command;

    const std::string output = (dir.Path() / "out.txt").string();
    ASSERT_EQ(std::system(("'" + (dir.Path() / "crcprog").string() + "' > '" + output + "'").c_str()), 0);
    std::ifstream in(output);
    for (const CompiledCase& c : cases) {
        SCOPED_TRACE("algorithm " + std::to_string(static_cast<int>(c.algorithm)) + ", width " +
                     std::to_string(c.width));
        unsigned long long value = 0;
        int sameTable = 0;
        ASSERT_TRUE(in >> value >> sameTable);
        EXPECT_EQ(value, c.expected);
        if (c.tableRebuilds) {
            EXPECT_EQ(sameTable, 1);
        }
    }
}
