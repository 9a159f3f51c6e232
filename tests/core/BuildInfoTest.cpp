#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app/BuildInfo.h"
#include "core/app/Report.h"
#include "core/app/TextSink.h"

namespace dualvex {
namespace {

std::string ExpectedVersionLine()
{
    return std::string("dualvex ") + ProgramVersion() + " (Commit " + BuildCommit() + ")\n";
}

// The version is declared once, in the project line of the top CMakeLists.txt.
TEST(BuildInfo, VersionIsTheProjectVersion)
{
    std::ifstream file(std::string(DUALVEX_SOURCE_DIR) + "/CMakeLists.txt");
    std::stringstream text;
    text << file.rdbuf();
    const std::string all = text.str();
    const std::string key = "project(Dualvex VERSION ";
    const std::size_t at = all.find(key);
    ASSERT_NE(at, std::string::npos);
    const std::size_t from = at + key.size();
    const std::string declared = all.substr(from, all.find_first_not_of("0123456789.", from) - from);
    ASSERT_FALSE(declared.empty());
    EXPECT_EQ(declared, ProgramVersion());
}

TEST(BuildInfo, CommitIsAShortIdOrUnknown)
{
    std::string commit = BuildCommit();
    if (commit == "unbekannt") return;
    if (commit.ends_with("-dirty")) commit.resize(commit.size() - 6);
    EXPECT_GE(commit.size(), 7u) << commit;
    EXPECT_LE(commit.size(), 40u) << commit;
    EXPECT_EQ(commit.find_first_not_of("0123456789abcdef"), std::string::npos) << commit;
}

TEST(BuildInfo, VersionOptionPrintsVersionAndCommit)
{
    for (const auto& args :
         {std::vector<std::string>{"--version"}, std::vector<std::string>{"--version", "--report", "a", "b"},
          std::vector<std::string>{"-J", "--version", "--size=bad"}}) {
        SCOPED_TRACE(args.size());
        const CommandLine cl = ParseCommandLine(args);
        EXPECT_TRUE(cl.version);
        ASSERT_TRUE(WantsTextMode(cl));
        StringSink out;
        std::ostringstream err;
        EXPECT_EQ(RunTextMode(cl, out, err), 0);
        EXPECT_EQ(out.Text(), ExpectedVersionLine());
        EXPECT_EQ(err.str(), "");
    }
}

TEST(BuildInfo, HelpNamesTheVersionOption)
{
    StringSink out;
    PrintHelp(out);
    ASSERT_TRUE(out.Flush());
    EXPECT_NE(out.Text().find("  --version             Version und Commit des Programms ausgeben\n"),
              std::string::npos);
}

// The real program, when it was built, answers without a display.
TEST(BuildInfo, ProgramAnswersVersionWithoutDisplay)
{
    const std::string exe = std::string(DUALVEX_BINARY_DIR) + "/src/dualvex";
    if (!std::filesystem::exists(exe)) GTEST_SKIP() << "the program is not built here";
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + exe + " --version 2>&1";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[512];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The program may have been linked at another commit than this test.
    const std::string head = std::string("dualvex ") + ProgramVersion() + " (Commit ";
    EXPECT_TRUE(out.starts_with(head) && out.size() > head.size() + 2 && out.ends_with(")\n")) << out;
}

} // namespace
} // namespace dualvex
