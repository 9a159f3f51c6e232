#include "core/support/CSettingsKey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ConfigDir.h"

namespace dualvex {
namespace {

using test::ConfigDirTest;
using Key = CSettingsKey;
using namespace std::string_literals;

class CSettingsKeyTest : public ConfigDirTest {
  protected:
    // Stores raw bytes under the application key.
    void Store(const char* name, std::string_view data, std::uint32_t type)
    {
        Key key;
        ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
        ASSERT_TRUE(key.Write(data.data(), static_cast<std::uint32_t>(data.size()), name, type));
    }
    // The exact stored bytes, read back through a fresh object.
    std::string Stored(const char* name, std::uint32_t* type = nullptr)
    {
        Key key;
        std::unique_ptr<char[]> buffer;
        if (!key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead) ||
            !key.ReadAlloc(buffer, name, Key::kBytes))
            return "<missing>";
        if (type != nullptr) *type = key.ValueType();
        return std::string(buffer.get(), key.DataSize());
    }
};

TEST_F(CSettingsKeyTest, NullPathInCreateModeMakesApplicationKey)
{
    Key key;
    EXPECT_FALSE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    EXPECT_EQ(key.LastError(), Key::kErrorCannotOpen);
    EXPECT_FALSE(key.IsOpen());

    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    EXPECT_EQ(key.Depth(), 0);
    EXPECT_EQ(key.LevelName(0), "Software\\Ql\\Dualvex");
    EXPECT_NE(Slurp(UserFile()).find("[Software\\Ql\\Dualvex]"), std::string::npos);

    Key reader;
    EXPECT_TRUE(reader.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    EXPECT_TRUE(reader.Open(SettingsRoot::None, "hkey_current_user\\software\\QL\\dualvex", Key::kModeRead));
}

TEST_F(CSettingsKeyTest, MissingKeyLeavesEveryDefault)
{
    Key key;
    EXPECT_FALSE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    std::uint32_t flags = 0x1234;
    EXPECT_FALSE(key.ReadInt(flags, "HexFlags"));
    EXPECT_EQ(flags, 0x1234u);
    EXPECT_EQ(key.LastError(), Key::kErrorNotOpen);
    std::string text = "default";
    EXPECT_FALSE(key.ReadText(text, "Path"));
    EXPECT_EQ(text, "default");
}

TEST_F(CSettingsKeyTest, MissingValueLeavesIntegerAndStructure)
{
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    std::int32_t colour = -1;
    EXPECT_FALSE(key.ReadInt(colour, "BG"));
    EXPECT_EQ(colour, -1);
    EXPECT_EQ(key.LastError(), Key::kErrorNotFound);
    char font[44];
    std::memset(font, 'F', sizeof font);
    EXPECT_FALSE(key.Read(font, sizeof font, "Font", Key::kBytes));
    EXPECT_EQ(key.DataSize(), 0u);
    EXPECT_EQ(std::string(font, 3), "FFF");
}

struct RoundTripCase {
    const char* label;
    std::string data;
    std::uint32_t type;
};

TEST_F(CSettingsKeyTest, EveryKindRoundTripsByteForByte)
{
    std::string allBytes;
    for (int b = 0; b < 256; ++b) allBytes.push_back(static_cast<char>(b));
    const RoundTripCase cases[] = {
        {"plain text", "Bit-Marke", Key::kText},
        {"awkward text", "a=b\0c\n[x]\r\"\\ \xff\xfe\xc3\xbc #;@%"s, Key::kText},
        {"text with terminator", "abc\0"s, Key::kText},
        {"empty text", "", Key::kText},
        {"expandable", "%HOME%\\x", Key::kExpandText},
        {"all bytes", allBytes, Key::kBytes},
        {"empty bytes", "", Key::kBytes},
        {"integer", "\x80\x80\xff\x00"s, Key::kInt},
        {"short integer", "\x01\x02"s, Key::kInt},
        {"list", "a.bin\0C:\\b c.hex\0\0"s, Key::kList},
        {"empty list", "\0"s, Key::kList},
        {"list without end", "a\0b"s, Key::kList},
        {"list of empties", "\0\0\0"s, Key::kList},
        {"list with odd bytes", "\xff\n\0=\0\0"s, Key::kList},
        {"other type", "\0\1\2"s, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Store(c.label, c.data, c.type);
        std::uint32_t type = 0;
        EXPECT_EQ(Stored(c.label, &type), c.data);
        EXPECT_EQ(type, c.type);
    }
}

TEST_F(CSettingsKeyTest, AwkwardValueNamesRoundTrip)
{
    const std::string names[] = {
        "a=b", "[x]", "#c", ";d", "@", "with space", "x\\y", "\xc3\xbc\xff", std::string(256, 'n')};
    for (const auto& name : names) Store(name.c_str(), name, Key::kText);
    for (const auto& name : names) EXPECT_EQ(Stored(name.c_str()), name) << name;
}

TEST_F(CSettingsKeyTest, OverlongNamesAreRefused)
{
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    const std::string name(257, 'n');
    EXPECT_FALSE(key.WriteInt(1, name.c_str()));
    EXPECT_EQ(key.LastError(), Key::kErrorNotFound);
    EXPECT_FALSE(key.OpenSub(name.c_str()));
    EXPECT_EQ(key.Depth(), 0);
}

struct ReadCase {
    const char* label;
    std::string stored; // absent when null-like marker "<none>"
    std::uint32_t kind;
    std::uint32_t size;
    bool ok;
    std::string expect; // the first bytes of the buffer afterwards
    std::uint32_t dataSize;
    std::uint32_t error;
};

TEST_F(CSettingsKeyTest, ReadTerminatesTextsAndLists)
{
    using std::string;
    const ReadCase cases[] = {
        {"text one spare byte", "abc", Key::kText, 4, true, string("abc\0", 4), 4, 0},
        {"text no spare byte", "abc", Key::kText, 3, false, string("\0bc", 3), 0, 234},
        {"text larger than buffer", "abcd", Key::kText, 3, false, string("\0", 1), 1, 234},
        {"text with terminator", string("abc\0", 4), Key::kText, 4, true, string("abc\0", 4), 4, 0},
        {"empty text", "", Key::kText, 1, true, string("\0", 1), 1, 0},
        {"empty text no room", "", Key::kText, 0, false, "", 0, 234},
        {"list without end", string("a\0b", 3), Key::kList, 5, true, string("a\0b\0\0", 5), 5, 0},
        {"list one end", string("a\0b\0", 4), Key::kList, 5, true, string("a\0b\0\0", 5), 5, 0},
        {"list both ends", string("a\0b\0\0", 5), Key::kList, 5, true, string("a\0b\0\0", 5), 5, 0},
        {"list ends do not fit", string("a\0b", 3), Key::kList, 4, false, string("\0\0b", 3), 0, 234},
        {"empty list", string("\0", 1), Key::kList, 2, true, string("\0\0", 2), 2, 0},
        {"zero-length list", "", Key::kList, 2, true, string("\0\0", 2), 2, 0},
        {"list larger than buffer", "abcdef", Key::kList, 4, false, string("\0\0", 2), 2, 234},
        {"integer", "\x01\x02\x03\x04", Key::kInt, 4, true, "\x01\x02\x03\x04", 4, 0},
        {"integer too large", "\x01\x02\x03\x04", Key::kInt, 3, false, "###", 0, 234},
        {"integer read as text", "\x01\x02\x03\x04", Key::kText, 5, true, string("\x01\x02\x03\x04\0", 5), 5,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Store("v", c.stored, c.kind);
        Key key;
        ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
        std::string buffer(c.size + 8, '#');
        EXPECT_EQ(key.Read(buffer.data(), c.size, "v", c.kind), c.ok);
        EXPECT_EQ(buffer.substr(0, c.expect.size()), c.expect);
        EXPECT_EQ(buffer.substr(c.size), std::string(8, '#')) << "wrote past the buffer";
        EXPECT_EQ(key.DataSize(), c.dataSize);
        EXPECT_EQ(key.LastError(), c.error);
    }
}

TEST_F(CSettingsKeyTest, ReadOfMissingValueEmptiesTextsAndLists)
{
    Store("other", "x", Key::kText);
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    char text[4] = "old";
    EXPECT_FALSE(key.Read(text, sizeof text, "Path", Key::kText));
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(key.DataSize(), 1u);
    char list[4] = "old";
    EXPECT_FALSE(key.Read(list, sizeof list, "File1", Key::kList));
    EXPECT_EQ(std::string(list, 3), "\0\0d"s);
    EXPECT_EQ(key.DataSize(), 2u);
    EXPECT_EQ(key.LastError(), Key::kErrorNotFound);
}

TEST_F(CSettingsKeyTest, ReadAllocTerminatesAndReportsMissing)
{
    Store("t", "abc", Key::kText);
    Store("l", "a\0b"s, Key::kList);
    Store("e", "", Key::kList);
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    std::unique_ptr<char[]> buffer;
    ASSERT_TRUE(key.ReadAlloc(buffer, "t", Key::kText));
    EXPECT_EQ(std::string(buffer.get(), key.DataSize()), "abc\0"s);
    ASSERT_TRUE(key.ReadAlloc(buffer, "l", Key::kList));
    EXPECT_EQ(std::string(buffer.get(), key.DataSize()), "a\0b\0\0"s);
    ASSERT_TRUE(key.ReadAlloc(buffer, "e", Key::kList));
    EXPECT_EQ(std::string(buffer.get(), key.DataSize()), "\0\0"s);
    EXPECT_FALSE(key.ReadAlloc(buffer, "missing", Key::kText));
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(CSettingsKeyTest, ClosedObjectRefusesEverythingAndChangesNothing)
{
    Key key;
    char buffer[4] = "abc";
    std::unique_ptr<char[]> allocated;
    EXPECT_FALSE(key.Read(buffer, sizeof buffer, "x", Key::kText));
    EXPECT_STREQ(buffer, "abc");
    EXPECT_FALSE(key.ReadAlloc(allocated, "x", Key::kText));
    EXPECT_FALSE(key.Write("a", 1, "x", Key::kText));
    EXPECT_FALSE(key.OpenSub("x"));
    EXPECT_FALSE(key.Close());
    EXPECT_EQ(key.LastError(), Key::kErrorNotOpen);
    EXPECT_TRUE(key.CloseAll());
    EXPECT_FALSE(std::filesystem::exists(UserFile()));
}

TEST_F(CSettingsKeyTest, WriteErrors)
{
    Store("x", "1", Key::kText);
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    EXPECT_FALSE(key.WriteInt(5, "x"));
    EXPECT_EQ(key.LastError(), Key::kErrorCannotOpen);
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeWrite));
    EXPECT_FALSE(key.Write(nullptr, 4, "x", Key::kInt));
    EXPECT_EQ(key.LastError(), Key::kErrorNoData);
    EXPECT_EQ(Stored("x"), "1");
    EXPECT_TRUE(key.WriteText("", "x"));
    EXPECT_EQ(Stored("x"), "");
}

TEST_F(CSettingsKeyTest, StackHoldsElevenLevels)
{
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    for (int level = 1; level < Key::kMaxLevels; ++level)
        ASSERT_TRUE(key.OpenSub(std::to_string(level).c_str())) << level;
    EXPECT_EQ(key.Depth(), 10);
    EXPECT_FALSE(key.OpenSub("11"));
    EXPECT_EQ(key.LastError(), Key::kErrorTooDeep);
    EXPECT_EQ(key.Depth(), 10);
    EXPECT_EQ(key.LevelName(10), "10");

    EXPECT_TRUE(key.WriteInt(10, "Deep"));
    ASSERT_TRUE(key.Close());
    EXPECT_EQ(key.Depth(), 9);
    EXPECT_TRUE(key.WriteInt(9, "Deep"));
    EXPECT_TRUE(key.CloseAll());
    EXPECT_FALSE(key.IsOpen());

    Key reader;
    ASSERT_TRUE(reader.Open(SettingsRoot::CurrentUser, "Software\\Ql\\Dualvex\\1\\2\\3\\4\\5\\6\\7\\8\\9\\10",
                            Key::kModeRead));
    std::uint32_t value = 0;
    EXPECT_TRUE(reader.ReadInt(value, "Deep"));
    EXPECT_EQ(value, 10u);
}

TEST_F(CSettingsKeyTest, CreateOnlyInModeTwoAndNotWhenAskedNot)
{
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    EXPECT_FALSE(key.OpenSub("HexCrcCalc", true));
    EXPECT_EQ(key.LastError(), Key::kErrorCannotOpen);
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeWrite));
    EXPECT_FALSE(key.OpenSub("HexCrcCalc"));
    EXPECT_EQ(key.LastError(), Key::kErrorCannotOpen);
    EXPECT_FALSE(key.Open(SettingsRoot::CurrentUser, "Software\\Elsewhere", Key::kModeWrite));
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    EXPECT_TRUE(key.OpenSub("HexCrcCalc"));
    EXPECT_EQ(key.ValueName(), "HexCrcCalc");
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    EXPECT_TRUE(key.OpenSub("hexcrccalc"));
}

struct RootCase {
    const char* path;
    SettingsRoot root;
    const char* keyPath;
};

TEST_F(CSettingsKeyTest, NullRootTakesRootNameFromPath)
{
    const RootCase cases[] = {
        {"hkey_local_machine\\Software\\Test", SettingsRoot::LocalMachine, "Software\\Test"},
        {"Software\\Test", SettingsRoot::CurrentUser, "Software\\Test"},
        {"HKEY_CURRENT_USER\\Software\\Test", SettingsRoot::CurrentUser, "Software\\Test"},
        {"HKEY_LOCAL_MACHINEX\\a", SettingsRoot::CurrentUser, "HKEY_LOCAL_MACHINEX\\a"},
        {"HKEY_LOCAL_MACHINE", SettingsRoot::LocalMachine, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Key key;
        ASSERT_TRUE(key.Open(SettingsRoot::None, c.path, Key::kModeCreate));
        EXPECT_EQ(key.Root(), c.root);
        EXPECT_EQ(key.LevelName(0), c.keyPath);
    }
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::None, "HKEY_LOCAL_MACHINE\\Software\\Test", Key::kModeCreate));
    ASSERT_TRUE(key.WriteInt(7, "Machine"));
    EXPECT_NE(Slurp(MachineFile()).find("Machine=dword:0x00000007"), std::string::npos);
    EXPECT_EQ(Slurp(UserFile()).find("Machine="), std::string::npos);

    ASSERT_TRUE(key.Open(SettingsRoot::None, nullptr, Key::kModeCreate));
    EXPECT_EQ(key.Root(), SettingsRoot::CurrentUser);
    EXPECT_EQ(key.LevelName(0), "Software\\Ql\\Dualvex");
}

TEST_F(CSettingsKeyTest, RootsWithoutFileCannotBeOpened)
{
    Key key;
    EXPECT_FALSE(key.Open(SettingsRoot::ClassesRoot, nullptr, Key::kModeCreate));
    EXPECT_EQ(key.LastError(), Key::kErrorCannotOpen);
    EXPECT_FALSE(key.Open(SettingsRoot::None, "HKEY_USERS\\x", Key::kModeCreate));
}

TEST_F(CSettingsKeyTest, ListsStoreTheMultiTextForm)
{
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    ASSERT_TRUE(key.WriteList("", "Empty"));
    EXPECT_EQ(key.DataSize(), 1u);
    ASSERT_TRUE(key.WriteList("a\0bc\0", "Two"));
    EXPECT_EQ(key.DataSize(), 6u);
    EXPECT_EQ(Stored("Two"), "a\0bc\0\0"s);

    char buffer[8] = "xxxxxxx";
    ASSERT_TRUE(key.Read(buffer, sizeof buffer, "Empty", Key::kList));
    EXPECT_EQ(key.DataSize(), 2u);
    EXPECT_EQ(std::string(buffer, 2), "\0\0"s);

    std::vector<std::string> items{"x"};
    ASSERT_TRUE(key.ReadList(items, "Empty"));
    EXPECT_TRUE(items.empty());
    ASSERT_TRUE(key.WriteList(std::vector<std::string>{"one", "", "two"}, "Vec"));
    ASSERT_TRUE(key.ReadList(items, "Vec"));
    EXPECT_EQ(items, (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(key.WriteList(nullptr, "Null"));
    EXPECT_EQ(key.LastError(), Key::kErrorNoData);
}

TEST_F(CSettingsKeyTest, TypedHelpersRoundTrip)
{
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    ASSERT_TRUE(key.WriteInt(static_cast<std::uint32_t>(-1), "BG"));
    ASSERT_TRUE(key.WriteText("C:\\a\0b"s, "Path"));
    ASSERT_TRUE(key.Write("v", 1, nullptr, Key::kText));
    key.CloseAll();

    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    std::int32_t colour = 0;
    EXPECT_TRUE(key.ReadInt(colour, "bg"));
    EXPECT_EQ(colour, -1);
    std::string text;
    EXPECT_TRUE(key.ReadText(text, "PATH"));
    EXPECT_EQ(text, "C:\\a\0b"s);
    EXPECT_TRUE(key.ReadText(text, nullptr));
    EXPECT_EQ(text, "v");
}

TEST_F(CSettingsKeyTest, EnumerationWalksSubKeysAndValues)
{
    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, "Software\\Ql\\Dualvex\\Hex\\Colors", Key::kModeCreate));
    for (const char* name : {"b", "A", "c"}) {
        ASSERT_TRUE(key.OpenSub(name));
        ASSERT_TRUE(key.WriteText(name, "Name"));
        ASSERT_TRUE(key.Close());
    }
    ASSERT_TRUE(key.WriteInt(1, "Second"));
    ASSERT_TRUE(key.WriteInt(2, "First"));

    Key reader;
    ASSERT_TRUE(reader.Open(SettingsRoot::CurrentUser, "Software\\Ql\\Dualvex\\Hex\\Colors", Key::kModeRead));
    std::vector<std::string> seen;
    while (reader.OpenSub(kSettingsNext)) {
        std::string name;
        EXPECT_TRUE(reader.ReadText(name, "Name"));
        seen.push_back(reader.LevelName(1) + "=" + name);
        reader.Close();
    }
    EXPECT_EQ(reader.LastError(), Key::kErrorNoMoreItems);
    EXPECT_EQ(seen, (std::vector<std::string>{"A=A", "b=b", "c=c"}));

    std::uint32_t value = 0;
    EXPECT_TRUE(reader.ReadInt(value, kSettingsNext));
    EXPECT_EQ(reader.ValueName(), "Second");
    EXPECT_TRUE(reader.ReadInt(value, kSettingsNext));
    EXPECT_EQ(reader.ValueName(), "First");
    EXPECT_EQ(value, 2u);
    EXPECT_FALSE(reader.ReadInt(value, kSettingsNext));
    EXPECT_EQ(reader.LastError(), Key::kErrorNoMoreItems);
}

TEST_F(CSettingsKeyTest, TwoObjectsWritingKeepEachOthersValues)
{
    Key first;
    Key second;
    ASSERT_TRUE(first.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    ASSERT_TRUE(second.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    ASSERT_TRUE(first.WriteInt(1, "One"));
    ASSERT_TRUE(second.WriteInt(2, "Two"));
    ASSERT_TRUE(first.WriteInt(3, "Three"));
    Key reader;
    ASSERT_TRUE(reader.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    std::uint32_t one = 0, two = 0, three = 0;
    EXPECT_TRUE(reader.ReadInt(one, "One") && reader.ReadInt(two, "Two") && reader.ReadInt(three, "Three"));
    EXPECT_EQ(one + two + three, 6u);
}

} // namespace
} // namespace dualvex
