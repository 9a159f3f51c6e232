#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/app/Report.h"

namespace dualvex {
namespace {

struct TextRun {
    int code;
    std::string out;
    std::string err;
};

TextRun RunArgs(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunTextMode(ParseCommandLine(args), out, err);
    return {code, out.str(), err.str()};
}

const std::string kExamples = std::string(DUALVEX_SOURCE_DIR) + "/examples/";

// The example pair differs in the version string, a patched routine, one
// configuration word and the longer tail of version 2.
// make_examples.py places them at 0x106 ("FW v1.0.0" against "FW v1.1.0"),
// 0x1200 (64 bytes), 0x10010 (4 bytes) and 0x10400 (512 bytes past the end of
// the decoded hex image).
const char* const kExampleReport = "ranges: 4 differing: 581\n"
                                   "0x00000106 0x00000107 1\n"
                                   "0x00001200 0x00001240 64\n"
                                   "0x00010010 0x00010014 4\n"
                                   "0x00010400 0x00010600 512\n";

TEST(Report, ExamplePair)
{
    const std::string v1 = kExamples + "firmware_v1.hex";
    const std::string v2 = kExamples + "firmware_v2.bin";
    const TextRun r = RunArgs({"--report", v1, v2});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "file1: " + v1 + " 66560 bytes\nfile2: " + v2 + " 67072 bytes\n" + kExampleReport);
}

TEST(Report, SummaryPrintsTheFirstThreeLines)
{
    const std::string v1 = kExamples + "firmware_v1.hex";
    const std::string v2 = kExamples + "firmware_v2.bin";
    const TextRun r = RunArgs({"--summary", v1, v2});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out,
              "file1: " + v1 + " 66560 bytes\nfile2: " + v2 + " 67072 bytes\nranges: 4 differing: 581\n");
}

TEST(Report, EqualFilesExitZero)
{
    test::TempDir dir;
    const std::string a = dir.Write("a.bin", "same");
    const std::string b = dir.Write("b.bin", "same");
    for (const char* mode : {"--report", "--summary"}) {
        const TextRun r = RunArgs({mode, a, b});
        EXPECT_EQ(r.code, 0) << mode;
        EXPECT_EQ(r.out, "file1: " + a + " 4 bytes\nfile2: " + b + " 4 bytes\nranges: 0 differing: 0\n");
    }
}

TEST(Report, EmptyFileAgainstData)
{
    test::TempDir dir;
    const std::string a = dir.Write("a.bin", "");
    const std::string b = dir.Write("b.bin", "0123456789");
    const TextRun r = RunArgs({"--report", a, b});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "file1: " + a + " 0 bytes\nfile2: " + b +
                         " 10 bytes\nranges: 1 differing: 10\n0x00000000 0x0000000A 10\n");
}

TEST(Report, IntelHexSwitchesAndExtensions)
{
    test::TempDir dir;
    const std::string text = ":0100000011EE\n";
    const std::string named = dir.Write("a.HEX", text);
    const std::string plain = dir.Write("b.txt", text);
    // The listed extension is decoded without a question; the other file is
    // raw text unless "-I2" asks for it.
    TextRun r = RunArgs({"--summary", named, plain});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find(named + " 1024 bytes"), std::string::npos);
    EXPECT_NE(r.out.find(plain + " 14 bytes"), std::string::npos);
    r = RunArgs({"--summary", "-I2", named, plain});
    EXPECT_EQ(r.code, 0);
    r = RunArgs({"--summary", "-I1", plain, plain});
    EXPECT_EQ(r.code, 1);
}

TEST(Report, MissingAndSpecialFilesGetOneMessageEach)
{
    test::TempDir dir;
    const std::string missing1 = (dir.Path() / "nope1.bin").string();
    const std::string missing2 = (dir.Path() / "nope2.bin").string();
    TextRun r = RunArgs({"--report", missing1, missing2});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Die Datei " + missing1 + " existiert nicht zum Vergleichen !\nDie Datei " + missing2 +
                         " existiert nicht zum Vergleichen !\n");
    const std::string fifo = (dir.Path() / "pipe").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string file = dir.Write("a.bin", "x");
    for (const std::string& special : {fifo, dir.Path().string()}) {
        r = RunArgs({"--summary", file, special});
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err, "Die Datei " + special + " existiert nicht zum Vergleichen !\n");
    }
}

TEST(Report, FileOf4GiBIsRefusedWithAClearMessage)
{
    test::TempDir dir;
    const std::string small = dir.Write("a.bin", "x");
    const std::string big = dir.Write("big.bin", "");
    std::filesystem::resize_file(big, std::uint64_t{1} << 32);
    const TextRun r = RunArgs({"--report", small, big});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "Die Datei " + big + " ist zu groß zum Vergleichen (4 GiB oder mehr) !\n");
}

TEST(Report, MissingPathsAndBadOptionsAreTrouble)
{
    EXPECT_EQ(RunArgs({"--report", "only-one"}).code, 2);
    EXPECT_EQ(RunArgs({"--summary"}).code, 2);
    EXPECT_EQ(RunArgs({"--report", "--size=x", "a", "b"}).code, 2);
}

TEST(Report, HelpListsEverySwitch)
{
    const TextRun r = RunArgs({"--help", "--report", "a", "b"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("Aufrufparameter:\n", 0), 0u);
    for (const char* line :
         {"  -I            Automatisch auf Intel-Hex-Format prüfen\n",
          "  -I1           Erste Datei im Intel-Hex-Format laden\n",
          "  -0:<file>     Datei an Öffnendialog senden\n", "  <file2>       Pfad für die zweite Datei\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

// The real program, when it was built: the text modes open no window, so this
// runs without a display.
TEST(Report, ProgramPrintsTheReportWithoutDisplay)
{
    const std::string exe = std::string(DUALVEX_BINARY_DIR) + "/src/dualvex";
    if (!std::filesystem::exists(exe)) GTEST_SKIP() << "the program is not built here";
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + exe + " --report " +
                            kExamples + "firmware_v1.hex " + kExamples + "firmware_v2.bin 2>&1";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(out.find(kExampleReport), std::string::npos) << out;
}

} // namespace
} // namespace dualvex
