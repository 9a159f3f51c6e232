#include "core/support/SettingsFormat.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace dualvex {
namespace {

using namespace std::string_literals;

SettingsTree Parse(std::string_view text)
{
    SettingsTree tree;
    SettingsParseError error;
    EXPECT_TRUE(ParseSettingsText(text, tree, &error)) << "line " << error.line << ": " << error.message;
    return tree;
}

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

TEST(SettingsFormatTest, WritesReadableLines)
{
    SettingsTree tree;
    const std::string key = "Software\\Ql\\Dualvex";
    tree.SetValue(key, "HexFlags", {4, Bytes({0x80, 0x80, 0xff, 0x00})});
    tree.SetValue(key, "File1", {7, "C:\\a.bin\0b \"x\".hex\0\0"s});
    tree.SetValue(key, "Empty", {7, "\0"s});
    tree.SetValue(key + "\\Hex\\Colors\\0", "Name", {1, "Bit-Marke \xc3\xbc\xff\n"});
    tree.SetValue(key + "\\Hex", "Font", {3, Bytes({0xf4, 0xff, 0x00})});
    tree.SetValue(key + "\\Hex", "", {1, "default"});
    tree.SetValue(key + "\\Hex", "a=b c", {11, Bytes({1, 2})});
    const std::string text = FormatSettingsText(tree);
    for (const char* line : {
             "[Software\\Ql\\Dualvex]\n",
             "\nHexFlags=dword:0x00ff8080\n",
             "\nFile1=list:\"C:\\\\a.bin\",\"b \\\"x\\\".hex\"\n",
             "\nEmpty=list:\n",
             "\n[Software\\Ql\\Dualvex\\Hex]\nFont=hex:f4 ff 00\n@=text:\"default\"\na%3Db%20c=hex(11):01 "
             "02\n",
             "\n[Software\\Ql\\Dualvex\\Hex\\Colors\\0]\nName=text:\"Bit-Marke \xc3\xbc\\xff\\n\"\n",
         })
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
    EXPECT_EQ(text.find("[Software]"), std::string::npos) << "keys implied by their sub-keys get no section";
    EXPECT_EQ(Parse(text), tree);
}

TEST(SettingsFormatTest, ReadsHandEditedText)
{
    const SettingsTree tree = Parse("; comment\r\n\r\n  [ Software \\ Ql ]  \r\n"
                                    "# another\n  A = dword : 16  \nB=dword:0XfF\nC=list: \"x\" , \"y\" \n"
                                    "[software\\QL]\nD=text:\"\\x41\\t\"\n[]\n@=hex:0a0B 0c\n");
    const auto* key = tree.FindKey("Software\\Ql");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->path, "Software\\Ql");
    EXPECT_EQ(tree.FindValue("software\\ql", "a")->data, Bytes({16, 0, 0, 0}));
    EXPECT_EQ(tree.FindValue("Software\\Ql", "B")->data, Bytes({255, 0, 0, 0}));
    EXPECT_EQ(tree.FindValue("Software\\Ql", "C")->data, "x\0y\0\0"s);
    EXPECT_EQ(tree.FindValue("Software\\Ql", "D")->data, "A\t");
    EXPECT_EQ(tree.FindValue("", "")->data, Bytes({10, 11, 12}));
}

struct BadCase {
    const char* text;
    std::size_t line;
};

TEST(SettingsFormatTest, RejectsMalformedText)
{
    const BadCase cases[] = {
        {"A=dword:1\n", 1},
        {"[a]\nA\n", 2},
        {"[a\n", 1},
        {"[a]\nA=float:1\n", 2},
        {"[a]\nA=text:\"open\n", 2},
        {"[a]\nA=text:\"\\q\"\n", 2},
        {"[a]\nA=text:\"\\x4\"\n", 2},
        {"[a]\nA=dword:4294967296\n", 2},
        {"[a]\nA=dword:0x\n", 2},
        {"[a]\nA=hex:abc\n", 2},
        {"[a]\nA=hex(x):00\n", 2},
        {"[a]\nA=text:\"x\" junk\n", 2},
        {"[a]\nA=list:\"x\",\n", 2},
        {"[a]\n%ZZ=dword:1\n", 2},
        {"[a]\nA%0=dword:1\n", 2},
        {"[a]\nA%00=dword:1\n", 2},
        {"[a]\n=dword:1\n", 2},
        {"[a%5Cb]\n", 1},
        {"[a%00]\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SettingsTree tree;
        SettingsParseError error;
        EXPECT_FALSE(ParseSettingsText(c.text, tree, &error));
        EXPECT_EQ(error.line, c.line);
        EXPECT_FALSE(error.message.empty());
    }
}

TEST(SettingsFormatTest, EmptyTextIsAnEmptyTree)
{
    EXPECT_EQ(Parse(""), SettingsTree());
    EXPECT_EQ(Parse(FormatSettingsText(SettingsTree())), SettingsTree());
}

// Random trees of awkward names and bytes survive writing and reading (fixed seed).
TEST(SettingsFormatTest, RandomTreesRoundTrip)
{
    std::mt19937 random(20240611);
    const auto randomText = [&](std::size_t maxLength, bool name) {
        std::string s(random() % (maxLength + 1) + (name ? 1 : 0), '\0');
        for (char& c : s) {
            c = static_cast<char>(random() % 256);
            if (name && (c == '\0' || c == '\\')) c = 'n';
        }
        return s;
    };
    const std::uint32_t types[] = {0, 1, 2, 3, 4, 7, 11, 0xFFFFFFFF};
    for (int round = 0; round < 200; ++round) {
        SettingsTree tree;
        for (int k = 0; k < 4; ++k) {
            std::string path = k == 0 ? "" : randomText(6, true);
            if (random() % 2 != 0) path += "\\" + randomText(6, true);
            if (random() % 3 == 0) tree.EnsureKey(path);
            for (int v = 0; v < 3; ++v) {
                std::string data = randomText(12, false);
                if (random() % 3 == 0) data = "ab\0c\0\0"s;
                tree.SetValue(path, v == 0 ? "" : randomText(5, true), {types[random() % 8], data});
            }
        }
        const std::string text = FormatSettingsText(tree);
        SettingsTree back;
        ASSERT_TRUE(ParseSettingsText(text, back)) << text;
        ASSERT_EQ(back, tree) << text;
        EXPECT_EQ(FormatSettingsText(back), text);
    }
}

} // namespace
} // namespace dualvex
