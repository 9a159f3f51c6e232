#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "core/app/Report.h"
#include "core/app/TextSink.h"

namespace dualvex {
namespace {

struct TextRun {
    int code;
    std::string out;
    std::string err;
};

TextRun RunArgs(const std::vector<std::string>& args)
{
    StringSink out;
    std::ostringstream err;
    const int code = RunTextMode(ParseCommandLine(args), out, err);
    return {code, out.Text(), err.str()};
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

// Bad Intel-HEX lines are used as far as they go, as in the window, but never
// silently: the report names the first one and the count on stderr and keeps its
// exit code.
TEST(Report, BadIntelHexLinesAreNamedOnStderr)
{
    test::TempDir dir;
    // Line 2 has a wrong checksum (0x00 instead of 0x86), line 3 is junk.
    const std::string hex =
        dir.Write("bad.hex", ":020000001234B8\n:02000200ABCD00\nnot a record\n:00000001FF\n");
    const std::string raw = dir.Write("raw.bin", std::string("\x12\x34\xAB\xCD", 4));
    const TextRun r = RunArgs({"--report", "-I1", hex, raw});
    // The decoded image is padded to 1024 bytes; its first four match, so the line
    // with the wrong checksum was used.
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.out.find("ranges: 1 differing: 1020\n0x00000004 0x00000400 1020\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.err,
              "Die Intel-Hex-Datei " + hex +
                  " enthält 2 fehlerhafte Zeilen (erste in Zeile 2); gelesen wurde, was sich lesen ließ.\n");
}

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

// Holes read as zeros, so two files beyond 4 GiB cost no disk space here.
TEST(Report, FilesBeyond4GiBGetSixteenDigitOffsets)
{
    test::TempDir dir;
    const std::uint64_t g4 = std::uint64_t{1} << 32;
    const std::string a = dir.Write("a.bin", "");
    const std::string b = dir.Write("b.bin", "");
    std::filesystem::resize_file(a, g4 + 16);
    std::filesystem::resize_file(b, g4 + 8);
    {
        FILE* f = std::fopen(a.c_str(), "r+");
        ASSERT_EQ(std::fseek(f, static_cast<long>(g4 + 3), SEEK_SET), 0);
        std::fputc(0xFF, f);
        std::fclose(f);
    }
    const TextRun r = RunArgs({"--report", a, b});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "file1: " + a + " 4294967312 bytes\nfile2: " + b +
                         " 4294967304 bytes\nranges: 2 differing: 9\n"
                         "0x0000000100000003 0x0000000100000004 1\n"
                         "0x0000000100000008 0x0000000100000010 8\n");
}

TEST(Report, LimitStopsTheLinesButNotTheCount)
{
    const std::string v1 = kExamples + "firmware_v1.hex";
    const std::string v2 = kExamples + "firmware_v2.bin";
    const TextRun r = RunArgs({"--report", "--limit=2", v1, v2});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "file1: " + v1 + " 66560 bytes\nfile2: " + v2 +
                         " 67072 bytes\nranges: 4 differing: 581\n"
                         "0x00000106 0x00000107 1\n0x00001200 0x00001240 64\n");
    EXPECT_EQ(RunArgs({"--report", "--limit=0", v1, v2}).out.find("0x"), std::string::npos);
}

TEST(Report, JsonHeaderThenOneObjectPerRange)
{
    const std::string v1 = kExamples + "firmware_v1.hex";
    const std::string v2 = kExamples + "firmware_v2.bin";
    const TextRun r = RunArgs({"--report", "--format=json", "--limit=3", v1, v2});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "{\"file1\":\"" + v1 + "\",\"size1\":66560,\"file2\":\"" + v2 +
                         "\",\"size2\":67072,\"ranges\":4,\"differing\":581}\n"
                         "{\"start\":262,\"end\":263,\"length\":1}\n"
                         "{\"start\":4608,\"end\":4672,\"length\":64}\n"
                         "{\"start\":65552,\"end\":65556,\"length\":4}\n");
}

TEST(Report, ControlCharactersInNamesCannotSplitTheHeader)
{
    test::TempDir dir;
    const std::string a = dir.Write("one\nfile2: forged", "x");
    const std::string b = dir.Write("b.bin", "y");
    const TextRun r = RunArgs({"--summary", a, b});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "file1: " + (dir.Path() / "one\\nfile2: forged").string() + " 1 bytes\nfile2: " + b +
                         " 1 bytes\nranges: 1 differing: 1\n");
}

TEST(Report, UnreadableFileIsTrouble)
{
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    test::TempDir dir;
    const std::string a = dir.Write("a.bin", "x");
    const std::string b = dir.Write("b.bin", "x");
    ASSERT_EQ(chmod(b.c_str(), 0), 0);
    const TextRun r = RunArgs({"--report", a, b});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Die Datei " + b + " konnte nicht geöffnet werden !\n");
}

TEST(Report, UsageErrorsEndWithTheUsageLine)
{
    const std::string usage =
        "Aufruf: dualvex [Optionen] <file1> <file2>   (dualvex --help zeigt alle Optionen)\n";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    for (const Case& c : std::vector<Case>{
             {{"--report", "only-one"}, usage},
             {{"--summary"}, usage},
             {{"--report", "--size=x", "a", "b"},
              "Ungültige Fenstergröße: --size=x (erwartet --size=BREITExHÖHE)\n" + usage},
             {{"--report", "--reprot", "a", "b"}, "Unbekannte Option: --reprot\n" + usage},
             {{"--report", "a", "b", "c"}, "Zu viele Dateinamen: c\n" + usage},
         }) {
        SCOPED_TRACE(c.args.back());
        const TextRun r = RunArgs(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

// After "--" a name may begin with "-", even one that reads like a switch.
TEST(Report, DoubleDashEndsTheOptions)
{
    test::TempDir dir;
    const std::string a = dir.Write("-J", "abc");
    const std::string b = dir.Write("--summary", "abc");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const TextRun r = RunArgs({"--report", "--", "-J", "--summary"});
    std::filesystem::current_path(before);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "file1: -J 3 bytes\nfile2: --summary 3 bytes\nranges: 0 differing: 0\n");
}

TEST(Report, HelpListsEverySwitch)
{
    const TextRun r = RunArgs({"--help", "--report", "a", "b"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("Aufrufparameter:\n", 0), 0u);
    for (const char* line :
         {"  -I            Automatisch auf Intel-Hex-Format prüfen\n",
          "  -I1           Erste Datei im Intel-Hex-Format laden\n",
          "  -0:<file>     Datei an Öffnendialog senden\n", "  <file2>       Pfad für die zweite Datei\n",
          "  -N            Keine Titelzeilen anzeigen\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    for (const char* option :
         {"\n  --report ", "\n  --summary ", "\n  --screenshot=<png> ", "\n  --size=BxH ", "\n  --threads=N ",
          "\n  --limit=N ", "\n  --format=json ", "\n  --help ", "\n  -- "})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

// Every failed write ends the run with exit 2 and the reason, never a report
// cut short under exit 0 or 1.
TEST(Report, OutputThatCannotBeWrittenIsTrouble)
{
    const std::string v1 = kExamples + "firmware_v1.hex";
    const std::string v2 = kExamples + "firmware_v2.bin";
    struct Case {
        const char* name;
        int fd;
        const char* reason;
    };
    const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    for (const Case& c :
         {Case{"full disk", full, "No space left on device"}, Case{"closed", -1, "Bad file descriptor"}}) {
        SCOPED_TRACE(c.name);
        for (const char* mode : {"--report", "--summary", "--help"}) {
            FdSink out(c.fd);
            std::ostringstream err;
            EXPECT_EQ(RunTextMode(ParseCommandLine({mode, v1, v2}), out, err), 2) << mode;
            EXPECT_EQ(err.str(),
                      std::string("Die Ausgabe konnte nicht geschrieben werden: ") + c.reason + "\n");
        }
    }
    close(full);
}

// With the signal ignored, a reader that went away still ends the run quietly.
TEST(Report, ReaderThatWentAwayEndsTheRunQuietly)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    FdSink out(fds[1]);
    std::ostringstream err;
    const int code = RunTextMode(
        ParseCommandLine({"--report", kExamples + "firmware_v1.hex", kExamples + "firmware_v2.bin"}), out,
        err);
    std::signal(SIGPIPE, previous);
    close(fds[1]);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(err.str(), "");
}

// The report by its plain definition, one byte at a time.
std::string ReferenceReport(const std::string& nameA, const std::string& a, const std::string& nameB,
                            const std::string& b)
{
    std::string lines;
    std::size_t ranges = 0;
    std::size_t differing = 0;
    const std::size_t n = std::max(a.size(), b.size());
    char line[64];
    for (std::size_t i = 0; i < n;) {
        auto differs = [&](std::size_t k) { return k >= a.size() || k >= b.size() || a[k] != b[k]; };
        if (!differs(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < n && differs(end)) ++end;
        std::snprintf(line, sizeof line, "0x%08zX 0x%08zX %zu\n", i, end, end - i);
        lines += line;
        ++ranges;
        differing += end - i;
        i = end;
    }
    return "file1: " + nameA + " " + std::to_string(a.size()) + " bytes\nfile2: " + nameB + " " +
           std::to_string(b.size()) + " bytes\nranges: " + std::to_string(ranges) +
           " differing: " + std::to_string(differing) + "\n" + lines;
}

// More ranges than the first pass keeps: the rest is compared again while the
// report is written. Every other byte differs, except one run across the
// border of the first two parts (2 MiB), where the two passes meet.
class ManyRanges : public ::testing::Test {
  protected:
    static constexpr std::size_t kLength = 3u << 20;
    static constexpr std::size_t kBorder = 2u << 20;

    void SetUp() override
    {
        std::string b(kLength, '\0');
        for (std::size_t i = 0; i < kLength; i += 2) b[i] = 1;
        for (std::size_t i = kBorder - 3; i < kBorder + 4; ++i) b[i] = 1;
        m_a = m_dir.Write("a.bin", std::string(kLength, '\0'));
        m_b = m_dir.Write("b.bin", b);
        m_expected = ReferenceReport(m_a, std::string(kLength, '\0'), m_b, b);
    }

    test::TempDir m_dir;
    std::string m_a;
    std::string m_b;
    std::string m_expected;
};

TEST_F(ManyRanges, SecondPassContinuesTheReportExactly)
{
    for (const char* threads : {"--threads=1", "--threads=3"}) {
        SCOPED_TRACE(threads);
        const TextRun r = RunArgs({"--report", threads, m_a, m_b});
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out == m_expected)
            << "report differs, " << r.out.size() << " against " << m_expected.size() << " bytes";
    }
}

// A sink that changes a file on its first write: the report is being written
// while the second pass still has to read the rest.
class TamperingSink final : public TextSink {
  public:
    explicit TamperingSink(std::function<void()> tamper) : m_tamper(std::move(tamper)) {}

  protected:
    int Put(const char*, std::size_t) override
    {
        if (m_tamper) std::exchange(m_tamper, nullptr)();
        return 0;
    }

  private:
    std::function<void()> m_tamper;
};

TEST_F(ManyRanges, FileChangedWhileTheReportIsWrittenIsTrouble)
{
    struct Case {
        const char* name;
        std::function<void(const std::string&)> change;
    };
    for (const Case& c :
         {Case{"truncated", [](const std::string& p) { std::filesystem::resize_file(p, 1u << 20); }},
          Case{"extended", [](const std::string& p) { std::filesystem::resize_file(p, 4u << 20); }}}) {
        SCOPED_TRACE(c.name);
        SetUp();
        TamperingSink out([&] { c.change(m_b); });
        std::ostringstream err;
        EXPECT_EQ(RunTextMode(ParseCommandLine({"--report", m_a, m_b}), out, err), 2);
        EXPECT_EQ(err.str(), "Die Datei " + m_b + " wurde während des Vergleichs verändert !\n");
    }
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

struct ProgramRun {
    int code;
    std::string out; // stdout and stderr
};

ProgramRun RunProgram(const std::string& arguments)
{
    const std::string exe = std::string(DUALVEX_BINARY_DIR) + "/src/dualvex";
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + exe + " " + arguments;
    FILE* pipe = popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    for (std::size_t n; pipe != nullptr && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

TEST(Report, ProgramRefusesMisspeltOptionsWithoutAWindow)
{
    if (!std::filesystem::exists(std::string(DUALVEX_BINARY_DIR) + "/src/dualvex"))
        GTEST_SKIP() << "the program is not built here";
    const ProgramRun r = RunProgram("--reprot a b 2>&1");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(
        r.out,
        "Unbekannte Option: --reprot\nAufruf: dualvex [Optionen] <file1> <file2>   (dualvex --help zeigt "
        "alle Optionen)\n");
}

TEST(Report, ProgramOutputFailuresAndPipes)
{
    if (!std::filesystem::exists(std::string(DUALVEX_BINARY_DIR) + "/src/dualvex"))
        GTEST_SKIP() << "the program is not built here";
    const std::string pair = kExamples + "firmware_v1.hex " + kExamples + "firmware_v2.bin";
    ProgramRun r = RunProgram("--report " + pair + " 2>&1 > /dev/full");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "Die Ausgabe konnte nicht geschrieben werden: No space left on device\n");
    r = RunProgram("--report " + pair + " 2>&1 >&-");
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "Die Ausgabe konnte nicht geschrieben werden: Bad file descriptor\n");
}

// The reader goes after one byte of a long report: no message on stderr.
TEST(Report, ProgramPipedIntoHeadEndsQuietly)
{
    const std::string exe = std::string(DUALVEX_BINARY_DIR) + "/src/dualvex";
    if (!std::filesystem::exists(exe)) GTEST_SKIP() << "the program is not built here";
    test::TempDir dir;
    std::string b(1u << 20, '\0');
    for (std::size_t i = 0; i < b.size(); i += 2) b[i] = 1;
    const std::string a = dir.Write("a.bin", std::string(b.size(), '\0'));
    const std::string bPath = dir.Write("b.bin", b);
    const std::string cmd = "{ " + exe + " --report " + a + " " + bPath + " | head -c 1 > /dev/null; } 2>&1";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    pclose(pipe);
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace dualvex
