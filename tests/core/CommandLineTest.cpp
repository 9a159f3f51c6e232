#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/CommandLine.h"

namespace dualvex {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, DefaultsWithoutArguments)
{
    const CommandLine cl = ParseCommandLine(Args{});
    EXPECT_TRUE(cl.noArguments);
    EXPECT_TRUE(cl.files.empty());
    EXPECT_EQ(cl.autoIntelHex, -1);
    EXPECT_TRUE(cl.showTitles);
    EXPECT_FALSE(cl.jumpToFirst);
    EXPECT_FALSE(cl.handOverMode);
    EXPECT_EQ(cl.split, SplitOrientation::NotGiven);
    EXPECT_FALSE(cl.report || cl.summary || cl.help);
}

TEST(CommandLine, OnlyAnUnknownSwitchStillCountsAsArguments)
{
    EXPECT_FALSE(ParseCommandLine(Args{"-x"}).noArguments);
}

struct SwitchCase {
    const char* name;
    Args args;
    int autoHex;
    bool first;
    bool second;
};

class IntelHexSwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(IntelHexSwitch, OnlyTheThirdCharacterCounts)
{
    const SwitchCase& c = GetParam();
    const CommandLine cl = ParseCommandLine(c.args);
    EXPECT_EQ(cl.autoIntelHex, c.autoHex);
    EXPECT_EQ(cl.firstIsHex, c.first);
    EXPECT_EQ(cl.secondIsHex, c.second);
}

INSTANTIATE_TEST_SUITE_P(Table, IntelHexSwitch,
                         ::testing::Values(SwitchCase{"plain", {"-I"}, 1, false, false},
                                           SwitchCase{"lower", {"-i"}, 1, false, false},
                                           SwitchCase{"first", {"-I1"}, -1, true, false},
                                           SwitchCase{"second", {"-i2"}, -1, false, true},
                                           SwitchCase{"firstWithTrailingText", {"-I1xyz"}, -1, true, false},
                                           SwitchCase{"otherThirdCharacter", {"-I3"}, -1, false, false},
                                           SwitchCase{"letterAfter", {"-IX"}, -1, false, false},
                                           SwitchCase{"all", {"-I2", "-I", "-I1"}, 1, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, FlagsAndSplitOrientationLastWins)
{
    const CommandLine cl = ParseCommandLine(Args{"-n", "-J", "-H", "-v"});
    EXPECT_FALSE(cl.showTitles);
    EXPECT_TRUE(cl.jumpToFirst);
    EXPECT_EQ(cl.split, SplitOrientation::Vertical);
    EXPECT_EQ(ParseCommandLine(Args{"-V", "-h"}).split, SplitOrientation::Horizontal);
}

// A third name would be compared with nothing: it is a usage error, not ignored.
TEST(CommandLine, ThirdPlainArgumentIsAnError)
{
    const CommandLine cl = ParseCommandLine(Args{"a.bin", "b.bin", "c.bin"});
    EXPECT_EQ(cl.files, (Args{"a.bin", "b.bin"}));
    EXPECT_EQ(cl.errors, (Args{"Zu viele Dateinamen: c.bin"}));
}

TEST(CommandLine, DoubleDashEndsTheOptions)
{
    const CommandLine cl = ParseCommandLine(Args{"-J", "--", "-N", "--report"});
    EXPECT_TRUE(cl.jumpToFirst);
    EXPECT_TRUE(cl.showTitles);
    EXPECT_FALSE(cl.report);
    EXPECT_EQ(cl.files, (Args{"-N", "--report"}));
    EXPECT_TRUE(cl.errors.empty());
    // A second "--" is then a name like any other.
    EXPECT_EQ(ParseCommandLine(Args{"--", "--", "x"}).files, (Args{"--", "x"}));
}

TEST(CommandLine, AbsolutePathsAreFilesNotSwitches)
{
    const CommandLine cl = ParseCommandLine(Args{"/home/x/v1.bin", "/var/v2.bin"});
    EXPECT_EQ(cl.files, (Args{"/home/x/v1.bin", "/var/v2.bin"}));
    EXPECT_EQ(cl.split, SplitOrientation::NotGiven);
}

TEST(CommandLine, TitlesTakeTheRestOfTheArgument)
{
    const CommandLine cl = ParseCommandLine(Args{"-1:Alt: v1", "-2:", "-1x", "-2Neu"});
    EXPECT_EQ(cl.title1, "Alt: v1");
    EXPECT_EQ(cl.title2, "");
}

TEST(CommandLine, HandOverWithColonTakesTheRest)
{
    const CommandLine cl = ParseCommandLine(Args{"-0:/tmp/x.bin", "a", "b"});
    EXPECT_TRUE(cl.handOverMode);
    EXPECT_EQ(cl.handOverFile, "/tmp/x.bin");
    EXPECT_EQ(cl.files, (Args{"a", "b"}));
}

TEST(CommandLine, HandOverAloneTakesTheNextPlainArgument)
{
    const CommandLine cl = ParseCommandLine(Args{"-0", "-J", "h.bin", "a.bin", "b.bin"});
    EXPECT_TRUE(cl.handOverMode);
    EXPECT_TRUE(cl.jumpToFirst);
    EXPECT_EQ(cl.handOverFile, "h.bin");
    EXPECT_EQ(cl.files, (Args{"a.bin", "b.bin"}));
}

TEST(CommandLine, HandOverWithOtherCharacterIsIgnored)
{
    const CommandLine cl = ParseCommandLine(Args{"-0x", "a"});
    EXPECT_FALSE(cl.handOverMode);
    EXPECT_EQ(cl.files, (Args{"a"}));
}

TEST(CommandLine, UnknownShortSwitchesAndLoneDashAreIgnored)
{
    const CommandLine cl = ParseCommandLine(Args{"-", "-Q", "a"});
    EXPECT_EQ(cl.files, (Args{"a"}));
    EXPECT_TRUE(cl.errors.empty());
}

// A misspelt long option must not start the window in place of a report.
TEST(CommandLine, UnknownLongOptionsAreErrors)
{
    const CommandLine cl = ParseCommandLine(Args{"--reprot", "a", "b", "--report=1", "---"});
    EXPECT_EQ(cl.errors, (Args{"Unbekannte Option: --reprot", "Unbekannte Option: --report=1",
                               "Unbekannte Option: ---"}));
    EXPECT_FALSE(cl.report);
}

TEST(CommandLine, LongOptions)
{
    const CommandLine cl = ParseCommandLine(Args{"--report", "-I1", "x.hex", "--summary", "y.bin", "--help",
                                                 "--screenshot=s.png", "--size=800x600"});
    EXPECT_TRUE(cl.report);
    EXPECT_TRUE(cl.summary);
    EXPECT_TRUE(cl.help);
    EXPECT_TRUE(cl.firstIsHex);
    EXPECT_EQ(cl.files, (Args{"x.hex", "y.bin"}));
    EXPECT_EQ(cl.screenshot, "s.png");
    EXPECT_EQ(cl.width, 800);
    EXPECT_EQ(cl.height, 600);
    EXPECT_TRUE(cl.errors.empty());
}

TEST(CommandLine, ReportOptions)
{
    const CommandLine cl =
        ParseCommandLine(Args{"--threads=3", "--limit=18446744073709551614", "--format=json"});
    EXPECT_EQ(cl.threads, 3u);
    EXPECT_EQ(cl.limit, 18446744073709551614u);
    EXPECT_EQ(cl.format, ReportFormat::Json);
    EXPECT_TRUE(cl.errors.empty());
    const CommandLine defaults = ParseCommandLine(Args{"--format=json", "--format=text", "--limit=0"});
    EXPECT_EQ(defaults.threads, 0u);
    EXPECT_EQ(defaults.limit, 0u);
    EXPECT_EQ(defaults.format, ReportFormat::Text);
}

TEST(CommandLine, MalformedLongOptionsAreReported)
{
    for (const char* bad : {"--size=800", "--size=0x10", "--size=10x", "--size=axb", "--size=10x20z",
                            "--screenshot=", "--threads=0", "--threads=65", "--threads=", "--threads=2x",
                            "--threads=-1", "--limit=", "--limit=-1", "--limit=18446744073709551616",
                            "--limit=1e3", "--format=xml", "--format="}) {
        SCOPED_TRACE(bad);
        const CommandLine cl = ParseCommandLine(Args{bad});
        EXPECT_EQ(cl.errors.size(), 1u);
        EXPECT_EQ(cl.width, 0);
    }
}

TEST(CommandLine, ArgcArgvForm)
{
    const char* argv[] = {"dualvex", "-J", "a", "b"};
    const CommandLine cl = ParseCommandLine(4, argv);
    EXPECT_TRUE(cl.jumpToFirst);
    EXPECT_EQ(cl.files, (Args{"a", "b"}));
    EXPECT_TRUE(ParseCommandLine(1, argv).noArguments);
}

} // namespace
} // namespace dualvex
