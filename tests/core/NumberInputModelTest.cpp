#include "core/tools/NumberInputModel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace dualvex;

namespace {

using Bytes = std::vector<std::uint8_t>;

NumberInputParams WithValue(Bytes bytes, int byteCount, bool hex = true)
{
    NumberInputParams p;
    std::copy(bytes.begin(), bytes.end(), p.value.begin());
    p.byteCount = byteCount;
    p.hexDisplay = hex;
    return p;
}

TEST(NumberInputModel, OpeningShowsTheSignExtendedValue)
{
    const struct {
        const char* name;
        Bytes bytes;
        int byteCount;
        bool hex;
        const char* text;
    } cases[] = {
        {"dword at the cursor", {0x78, 0x56, 0x34, 0x12}, 4, true, "0x12345678"},
        {"sign from byte 1 (00)", {0x80, 0x00}, 2, true, "0x80"},
        {"sign from byte 1 (FF)", {0x80, 0xFF}, 2, false, "-128"},
        {"negative byte", {0xFE}, 1, false, "-2"},
        {"negative byte in hex", {0xFE}, 1, true, "0xFFFFFFFE"},
        {"qword", {1, 2, 3, 4, 5, 6, 7, 0x80}, 8, true, "0x8007060504030201"},
        {"five bytes go 64-bit", {0, 0, 0, 0, 0x80}, 5, false, "-549755813888"},
        {"zero bytes", {0xFF, 0xFF}, 0, true, "0x0"},
        {"count above 8 is clamped", {1}, 99, true, "0x1"},
        {"negative count is clamped", {0xFF}, -3, true, "0x0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const NumberInputModel model(WithValue(c.bytes, c.byteCount, c.hex));
        EXPECT_EQ(model.InitialText(), c.text);
    }
}

TEST(NumberInputModel, ByteCountButtons)
{
    const int counts[] = {0, 1, 2, 3, 4, 5, 8};
    const int buttons[] = {2, 0, 1, 2, 2, 2, 3};
    for (std::size_t i = 0; i < std::size(counts); ++i)
        EXPECT_EQ(NumberInputModel::ButtonForByteCount(counts[i]), buttons[i]) << counts[i];
    EXPECT_EQ(NumberInputModel::ByteCountForButton(0), 1);
    EXPECT_EQ(NumberInputModel::ByteCountForButton(1), 2);
    EXPECT_EQ(NumberInputModel::ByteCountForButton(2), 4);
    EXPECT_EQ(NumberInputModel::ByteCountForButton(3), 8);
}

TEST(NumberInputModel, AcceptReadsExpressionsAndDumps)
{
    const struct {
        const char* text;
        int button;
        bool bigEndian;
        Bytes written;
    } cases[] = {
        {"0xAABB", 1, false, {0xBB, 0xAA}},
        {"0xAABB", 1, true, {0xAA, 0xBB}},
        {"1+2*3", 0, false, {0x07}},
        {":01 02 03", 2, false, {0x01, 0x02, 0x03, 0x00}},
        {"  \t:0102 3", 2, false, {0x01, 0x02, 0x03, 0x00}},
        {":123", 1, false, {0x12, 0x03}},
        {"-1", 3, false, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"0x1122334455667788", 3, true, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}},
        {"5+", 0, false, {0x05}}, // an error keeps the value so far
        {"", 2, false, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        NumberInputModel model(WithValue({}, 4));
        model.Accept(c.text, c.button, c.bigEndian, 0);
        EXPECT_EQ(model.ByteCount(), static_cast<int>(c.written.size()));
        EXPECT_EQ(model.OutputBytes(), c.written);
    }
}

TEST(NumberInputModel, DumpFillsAtMostEightBytesAndZeroesTheRest)
{
    const auto bytes = NumberInputModel::ReadNumber(":1 2 3 4 5 6 7 8 9 A");
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(NumberInputModel::ReadNumber(":"), (std::array<std::uint8_t, 8>{}));
}

TEST(NumberInputModel, TemplatesAndCaptions)
{
    NumberInputParams p;
    EXPECT_EQ(NumberInputModel(p).Template(), NumberInputTemplate::Plain);
    EXPECT_EQ(NumberInputModel(p).ByteCountCaptions(0)[3], "&QWort");
    p.formatVariant = true;
    const NumberInputModel format(p);
    EXPECT_EQ(format.Template(), NumberInputTemplate::Format);
    EXPECT_EQ(format.ByteCountCaptions(2),
              (std::array<std::string, 4>{"Base 64", "HEX-Text", "MIN-Text", "Chars"}));
    EXPECT_EQ(format.ByteCountCaptions(3)[3], "---");
    EXPECT_EQ(format.ByteCountCaptions(0),
              (std::array<std::string, 4>{"&Byte", "&Word", "&Dword", "&QWord"}));
    EXPECT_EQ(format.ByteCountCaptions(1)[3], "&QWord");
    p.preview = [](const std::uint8_t*, std::uint32_t, int, int, int, char* out, int) {
        out[0] = '\0';
        return 0;
    };
    EXPECT_EQ(NumberInputModel(p).Template(), NumberInputTemplate::FormatWithPreview);
}

struct PreviewCall {
    std::uint32_t count = 0;
    int byteCount = 0, formatWord = 0, lineSize = 0, outSize = 0;
};

TEST(NumberInputModel, PreviewCallsTheGeneratorAndKeepsTheFirstLine)
{
    PreviewCall seen;
    NumberInputParams p;
    p.formatVariant = true;
    p.previewBytes = {1, 2, 3};
    p.preview = [&seen](const std::uint8_t*, std::uint32_t count, int byteCount, int formatWord, int lineSize,
                        char* out, int outSize) {
        seen = {count, byteCount, formatWord, lineSize, outSize};
        std::strcpy(out, "0x01, 0x02,\r\n0x03");
        return 17;
    };
    const NumberInputModel model(p);
    EXPECT_EQ(model.PreviewText("0x110", 1, true, 2), "0x01, 0x02,");
    EXPECT_EQ(seen.count, 3u);
    EXPECT_EQ(seen.byteCount, 2);
    EXPECT_EQ(seen.formatWord, 2 + 128);
    EXPECT_EQ(seen.lineSize, 0x10); // the low byte of the entered value
    EXPECT_EQ(seen.outSize, 256);
}

TEST(NumberInputModel, PreviewSurvivesAGeneratorThatFillsItsWholeBuffer)
{
    NumberInputParams p;
    p.formatVariant = true;
    p.preview = [](const std::uint8_t*, std::uint32_t, int, int, int, char* out, int outSize) {
        std::memset(out, 'A', static_cast<std::size_t>(outSize)); // no terminator
        return outSize;
    };
    EXPECT_EQ(NumberInputModel(p).PreviewText("16", 0, false, 0), std::string(256, 'A'));
}

TEST(NumberInputModel, PreviewCountdown)
{
    NumberInputParams p;
    p.formatVariant = true;
    p.preview = [](const std::uint8_t*, std::uint32_t, int, int, int, char* out, int) {
        out[0] = '\0';
        return 0;
    };
    NumberInputModel model(p);
    EXPECT_TRUE(model.Tick()); // the first preview comes on the first tick
    EXPECT_FALSE(model.Tick());
    model.NoteChange();
    EXPECT_FALSE(model.Tick());
    EXPECT_FALSE(model.Tick());
    EXPECT_TRUE(model.Tick());
    EXPECT_FALSE(model.Tick());
}

} // namespace

namespace {

TEST(NumberInputModel, PreviewWithTheCopyGenerator)
{
    NumberInputParams p;
    p.formatVariant = true;
    p.preview = CppArrayPreview();
    p.previewBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    const NumberInputModel model(p);
    // The entered value is the line size: two bytes on the first line.
    EXPECT_EQ(model.PreviewText("2", 0, false, 0), "0x01,0x02,");
    EXPECT_EQ(model.PreviewText("16", 1, true, 0), "0x0102,0x0304,0x0506,");
}

} // namespace
