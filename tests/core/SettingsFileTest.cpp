#include "core/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ConfigDir.h"
#include "TempDir.h"
#include "core/support/CSettingsKey.h"

namespace dualvex {
namespace {

namespace fs = std::filesystem;
using test::ConfigDirTest;
using Key = CSettingsKey;

class SettingsFileTest : public ConfigDirTest {
  protected:
    std::vector<std::string> FolderNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir.Path()))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    static bool WriteValue(const char* name, std::uint32_t value)
    {
        Key key;
        return key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate) && key.WriteInt(value, name);
    }
    static std::optional<std::uint32_t> ReadValue(const char* name)
    {
        Key key;
        std::uint32_t value = 0;
        if (!key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead) || !key.ReadInt(value, name))
            return std::nullopt;
        return value;
    }
};

TEST_F(SettingsFileTest, LocationFollowsEnvironment)
{
    EXPECT_EQ(SettingsFile::ForRoot(SettingsRoot::CurrentUser)->Path(), UserFile());
    EXPECT_EQ(SettingsFile::ForRoot(SettingsRoot::LocalMachine)->Path(), MachineFile());
    EXPECT_FALSE(SettingsFile::ForRoot(SettingsRoot::CurrentConfig));

    unsetenv("DUALVEX_CONFIG_DIR");
    const auto saved = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    const std::optional<std::string> home = saved("HOME");
    const std::optional<std::string> config = saved("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", "/x/conf", 1);
    EXPECT_EQ(SettingsFile::ForRoot(SettingsRoot::CurrentUser)->Path(),
              fs::path("/x/conf/dualvex/user.conf"));
    setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    setenv("HOME", "/h", 1);
    EXPECT_EQ(SettingsFile::ForRoot(SettingsRoot::CurrentUser)->Path(),
              fs::path("/h/.config/dualvex/user.conf"));
    EXPECT_EQ(SettingsFile::ForRoot(SettingsRoot::LocalMachine)->Path(),
              fs::path("/etc/xdg/dualvex/machine.conf"));
    if (config) {
        setenv("XDG_CONFIG_HOME", config->c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    if (home) setenv("HOME", home->c_str(), 1);
}

TEST_F(SettingsFileTest, WritesLeaveOnlyTheFileAndItsLock)
{
    ASSERT_TRUE(WriteValue("A", 1));
    ASSERT_TRUE(WriteValue("B", 2));
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"user.conf", "user.conf.lock"}));
}

TEST_F(SettingsFileTest, StoringWhatIsThereLeavesTheFileAlone)
{
    ASSERT_TRUE(WriteValue("Same", 1));
    struct stat before {};
    ASSERT_EQ(stat(UserFile().c_str(), &before), 0);
    ASSERT_TRUE(WriteValue("Same", 1));
    struct stat after {};
    ASSERT_EQ(stat(UserFile().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    ASSERT_TRUE(WriteValue("Same", 2));
    ASSERT_EQ(stat(UserFile().c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(ReadValue("Same"), 2u);
}

TEST_F(SettingsFileTest, CorruptFileIsKeptAsideNotOverwritten)
{
    const std::string junk = "[Software\\Ql\\Dualvex]\nHexFlags=dword:0x12\nbroken line\n";
    m_dir.Write("user.conf", junk);
    EXPECT_FALSE(ReadValue("HexFlags")); // unparsable reads as empty

    ASSERT_TRUE(WriteValue("New", 5));
    EXPECT_EQ(ReadValue("New"), 5u);
    EXPECT_FALSE(ReadValue("HexFlags"));
    std::vector<std::string> aside;
    for (const auto& name : FolderNames())
        if (name.rfind("user.conf.corrupt-", 0) == 0) aside.push_back(name);
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(Slurp(m_dir.Path() / aside[0]), junk);

    m_dir.Write("user.conf", "garbage\n"); // a second corrupt file gets a name of its own
    ASSERT_TRUE(WriteValue("Again", 6));
    int count = 0;
    for (const auto& name : FolderNames()) count += name.rfind("user.conf.corrupt-", 0) == 0;
    EXPECT_EQ(count, 2);
}

TEST_F(SettingsFileTest, ReadOnlyFileMakesWritesFailQuietly)
{
    ASSERT_TRUE(WriteValue("Kept", 1));
    const std::string before = Slurp(UserFile());
    fs::permissions(UserFile(), fs::perms::owner_read | fs::perms::group_read);

    Key key;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    EXPECT_FALSE(key.WriteInt(2, "Kept"));
    EXPECT_EQ(key.LastError(), Key::kErrorAccessDenied);
    EXPECT_FALSE(key.OpenSub("NewSection"));
    EXPECT_EQ(key.Depth(), 0);
    key.CloseAll();
    EXPECT_EQ(Slurp(UserFile()), before);
    EXPECT_EQ(ReadValue("Kept"), 1u);
}

TEST_F(SettingsFileTest, UnusableLocationsMakeWritesFail)
{
    m_dir.Write("plain", "x");
    setenv("DUALVEX_CONFIG_DIR", (m_dir.Path() / "plain").c_str(), 1); // a file, not a folder
    Key key;
    EXPECT_FALSE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    EXPECT_EQ(key.LastError(), Key::kErrorCannotOpen);

    setenv("DUALVEX_CONFIG_DIR", m_dir.Path().c_str(), 1);
    fs::create_directory(UserFile()); // a folder where the file should be
    EXPECT_FALSE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    EXPECT_TRUE(fs::is_directory(UserFile()));
}

TEST_F(SettingsFileTest, FifoInPlaceOfFileDoesNotBlock)
{
    ASSERT_EQ(mkfifo(UserFile().c_str(), 0600), 0);
    Key key;
    EXPECT_FALSE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeRead));
    EXPECT_FALSE(key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate));
    EXPECT_TRUE(fs::is_fifo(UserFile()));
}

TEST_F(SettingsFileTest, LinkedFileStaysALinkAndKeepsItsMode)
{
    const fs::path real = m_dir.Path() / "elsewhere.conf";
    m_dir.Write("elsewhere.conf", "");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, UserFile());
    ASSERT_TRUE(WriteValue("Linked", 9));
    EXPECT_TRUE(fs::is_symlink(UserFile()));
    EXPECT_NE(Slurp(real).find("Linked=dword:0x00000009"), std::string::npos);
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// A settings file that links to anything but a regular file of ours is neither read,
// replaced nor renamed aside; the reason is said once on stderr.
TEST_F(SettingsFileTest, LinksToWhatIsNotOursAreLeftAlone)
{
    struct Case {
        const char* name;
        std::function<fs::path(const fs::path& dir)> make; // returns the link's target
    };
    const Case cases[] = {
        {"folder",
         [](const fs::path& dir) {
             fs::create_directory(dir / "folder");
             return dir / "folder";
         }},
        {"dangling", [](const fs::path& dir) { return dir / "nowhere.conf"; }},
        {"unparsable file of ours",
         [](const fs::path& dir) {
             std::ofstream(dir / "passwd") << "root:x:0:0:root:/root:/bin/bash\n";
             return dir / "passwd";
         }},
        {"link loop", [](const fs::path& dir) { return dir / "user.conf"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        setenv("DUALVEX_CONFIG_DIR", dir.Path().c_str(), 1);
        const fs::path target = c.make(dir.Path());
        const fs::path file = dir.Path() / "user.conf";
        fs::create_symlink(target, file);
        std::error_code ec;
        const bool wasFile = fs::is_regular_file(target, ec);
        const std::string before = wasFile ? Slurp(target) : std::string();

        testing::internal::CaptureStderr();
        EXPECT_FALSE(WriteValue("A", 1));
        EXPECT_FALSE(WriteValue("B", 2));
        EXPECT_FALSE(ReadValue("A"));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Occurrences(said, file.string() + " "), 1u) << said;

        EXPECT_TRUE(fs::is_symlink(file));
        EXPECT_EQ(fs::is_regular_file(target, ec), wasFile);
        if (wasFile) {
            EXPECT_EQ(Slurp(target), before);
        }
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            EXPECT_EQ(entry.path().filename().string().find(".corrupt-"), std::string::npos);
    }
}

// A lock file that is a link would create or truncate whatever it points to.
TEST_F(SettingsFileTest, LockFileIsNeverFollowed)
{
    const fs::path created = m_dir.Path() / "nologin";
    fs::create_symlink(created, m_dir.Path() / "user.conf.lock");
    EXPECT_FALSE(WriteValue("A", 1));
    EXPECT_FALSE(fs::exists(fs::symlink_status(created)));

    fs::remove(m_dir.Path() / "user.conf.lock");
    m_dir.Write("kept", "contents");
    fs::create_symlink(m_dir.Path() / "kept", m_dir.Path() / "user.conf.lock");
    EXPECT_FALSE(WriteValue("A", 1));
    EXPECT_EQ(Slurp(m_dir.Path() / "kept"), "contents");
    EXPECT_FALSE(fs::exists(UserFile()));
}

// Files of another user can only be made by root; the case then runs in a child
// that has dropped to "nobody", as a normal user would meet it.
class ForeignOwnerTest : public SettingsFileTest {
  protected:
    static constexpr uid_t kNobody = 65534;

    void SetUp() override
    {
        SettingsFileTest::SetUp();
        if (geteuid() != 0) GTEST_SKIP() << "a file of another owner can only be made when running as root";
        ASSERT_EQ(chown(m_dir.Path().c_str(), kNobody, kNobody), 0);
    }
    // A root-owned file anyone may write: only its owner keeps the user out.
    fs::path ForeignFile(const std::string& name, const std::string& contents) const
    {
        const fs::path path = m_dir.Write(name, contents);
        chmod(path.c_str(), 0666);
        return path;
    }
    // Runs check as nobody in a child; its exit code is the number of failed checks.
    static void RunAsNobody(const std::function<int()>& check)
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(100);
            _exit(check());
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 100) GTEST_SKIP() << "cannot drop privileges to nobody";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "checks failed in the child";
    }
    static uid_t Owner(const fs::path& path)
    {
        struct stat st {};
        return lstat(path.c_str(), &st) == 0 ? st.st_uid : kNobody;
    }
};

TEST_F(ForeignOwnerTest, FileOfAnotherOwnerIsNeitherReadNorReplaced)
{
    const std::string contents = "[Software\\Ql\\Dualvex]\nHexFlags=dword:0x00000012\n";
    const fs::path file = ForeignFile("user.conf", contents);
    RunAsNobody([] { return int{WriteValue("New", 1)} + int{ReadValue("HexFlags").has_value()}; });
    EXPECT_EQ(Slurp(file), contents);
    EXPECT_EQ(Owner(file), 0u);
}

TEST_F(ForeignOwnerTest, LinkToAFileOfAnotherOwnerIsNeitherReadNorReplaced)
{
    const std::string contents = "[Software\\Ql\\Dualvex]\nHexFlags=dword:0x00000012\n";
    test::TempDir elsewhere;
    ASSERT_EQ(chmod(elsewhere.Path().c_str(), 0777), 0);
    const fs::path foreign = elsewhere.Write("passwd", contents);
    ASSERT_EQ(chmod(foreign.c_str(), 0666), 0);
    RunAsNobody([&foreign, this] {
        if (symlink(foreign.c_str(), UserFile().c_str()) != 0) return 50;
        return int{WriteValue("New", 1)} + int{ReadValue("HexFlags").has_value()};
    });
    EXPECT_EQ(Slurp(foreign), contents);
    EXPECT_EQ(Owner(foreign), 0u);
    EXPECT_TRUE(fs::is_symlink(UserFile()));
}

// The machine-wide defaults belong to the administrator and are read by everyone.
TEST_F(ForeignOwnerTest, MachineFileOfTheAdministratorIsRead)
{
    const fs::path file = m_dir.Write("machine.conf", "[Software\\Ql\\Dualvex]\nHexFlags=dword:0x00000012\n");
    ASSERT_EQ(chmod(file.c_str(), 0644), 0);
    RunAsNobody([] {
        Key key;
        std::uint32_t value = 0;
        const bool read =
            key.Open(SettingsRoot::LocalMachine, nullptr, Key::kModeRead) && key.ReadInt(value, "HexFlags");
        return read && value == 0x12 ? 0 : 1;
    });
}

// Two real processes save at the same time, many times over; every value of
// both must survive.
TEST_F(SettingsFileTest, ConcurrentProcessesLoseNothing)
{
    constexpr int kWrites = 150;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            bool ok = true;
            for (int i = 0; i < kWrites; ++i) {
                Key key;
                ok = ok && key.Open(SettingsRoot::CurrentUser, nullptr, Key::kModeCreate) &&
                     key.OpenSub(child == 0 ? "First" : "Second") &&
                     key.WriteInt(static_cast<std::uint32_t>(i), ("V" + std::to_string(i)).c_str());
            }
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const char* section : {"First", "Second"}) {
        Key key;
        ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, CSettingsKey::ApplicationKeyPath(section).c_str(),
                             Key::kModeRead));
        int missing = 0;
        for (int i = 0; i < kWrites; ++i) {
            std::uint32_t value = 12345;
            missing += !key.ReadInt(value, ("V" + std::to_string(i)).c_str()) ||
                       value != static_cast<std::uint32_t>(i);
        }
        EXPECT_EQ(missing, 0) << section;
    }
}

} // namespace
} // namespace dualvex
