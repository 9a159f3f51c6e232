#include "core/support/SettingsFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/support/SettingsFormat.h"

namespace dualvex {
namespace fs = std::filesystem;
namespace {

// Anything this large was not written by us; it is treated as unparsable.
constexpr off_t kMaxFileSize = 16 << 20;

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded (it can report a failed write).
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

  private:
    int m_fd;
};

enum class LoadState { Missing, Loaded, Corrupt, Unreadable };

bool ReadAll(int fd, std::string& text)
{
    char chunk[65536];
    while (true) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n == 0) return true;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || text.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(kMaxFileSize))
            return false;
        text.append(chunk, static_cast<std::size_t>(n));
    }
}

LoadState ReadTree(const fs::path& path, SettingsTree& tree)
{
    // O_NONBLOCK: a FIFO put in the file's place must not hang the program.
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
    if (!fd.Valid()) return errno == ENOENT ? LoadState::Missing : LoadState::Unreadable;
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return LoadState::Unreadable;
    if (st.st_size > kMaxFileSize) return LoadState::Corrupt;
    std::string text;
    if (!ReadAll(fd.Get(), text)) return LoadState::Unreadable;
    return ParseSettingsText(text, tree) ? LoadState::Loaded : LoadState::Corrupt;
}

// A file the user made read-only stays as it is, even for a process that could
// override the permission.
bool MayReplace(const fs::path& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
}

// Says on stderr, once per file and reason, why the settings run on defaults: the
// user should learn why nothing is remembered, but not on every save.
void WarnOnce(const fs::path& path, const std::string& reason)
{
    static std::mutex mutex;
    static std::set<std::string> said;
    const std::string text = "Einstellungen: " + path.string() + " " + reason +
                             "; es gelten die Voreinstellungen, nichts wird gespeichert.";
    const std::lock_guard<std::mutex> lock(mutex);
    if (said.insert(text).second) std::cerr << text << std::endl;
}

// Where the contents of the settings file live. A settings file may be a link (people
// keep dotfiles in a repository), but only to a regular file of the running user;
// anything else (another user's file, a folder, a device, a dangling link) is never
// read as ours nor replaced. Empty when the file must not be used; why is in reason.
struct SettingsTarget {
    fs::path path;
    bool linked = false;
};

std::optional<SettingsTarget> ResolveTarget(const fs::path& path, bool ownedByUser, std::string& reason)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return SettingsTarget{path, false};
        reason = std::string("ist nicht zugänglich (") + std::strerror(errno) + ")";
        return std::nullopt;
    }
    SettingsTarget target{path, S_ISLNK(st.st_mode)};
    if (target.linked) {
        std::error_code ec;
        target.path = fs::canonical(path, ec);
        if (ec || stat(target.path.c_str(), &st) != 0) {
            reason = "ist ein Verweis, der zu keiner Datei führt";
            return std::nullopt;
        }
    }
    const char* what = target.linked ? "ist ein Verweis auf " : "ist ";
    if (!S_ISREG(st.st_mode)) {
        reason = std::string(what) + "etwas anderes als eine Datei";
        return std::nullopt;
    }
    if (ownedByUser && st.st_uid != geteuid()) {
        reason = std::string(what) + "eine Datei eines anderen Benutzers";
        return std::nullopt;
    }
    return target;
}

// The lock file is never followed through a link and never created elsewhere; an
// existing one must be a regular file of ours.
int OpenLock(const std::string& lockPath)
{
    constexpr int kFlags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK;
    int fd = open(lockPath.c_str(), kFlags | O_CREAT | O_EXCL, 0644);
    if (fd >= 0 || errno != EEXIST) return fd;
    fd = open(lockPath.c_str(), kFlags);
    if (fd < 0) return fd;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        return -1;
    }
    return fd;
}

std::string TimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Keeps an unparsable file under a new name so that the user's data survives.
bool SetAside(const fs::path& path)
{
    const std::string base = path.string() + ".corrupt-" + TimeStamp();
    std::string name = base;
    std::error_code ec;
    for (int n = 1; fs::exists(fs::symlink_status(name, ec)); ++n) name = base + "-" + std::to_string(n);
    return rename(path.c_str(), name.c_str()) == 0;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool ReplaceFile(const fs::path& path, std::string_view text)
{
    struct stat old {};
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    // Built by appending: GCC 12 at -O3 reports a false overlap (-Wrestrict) in the
    // inlined "." + std::string concatenation.
    std::string name = path.filename().string();
    name.insert(name.begin(), '.');
    name.append(".XXXXXX");
    std::string temp = (path.parent_path() / name).string();
    FileDescriptor fd(mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.Valid()) return false;
    const bool ok = WriteAll(fd.Get(), text) && fchmod(fd.Get(), mode) == 0 && fd.Close() &&
                    rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

std::string HomeDirectory()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return found->pw_dir;
    return {};
}

std::optional<fs::path> UserDirectory()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return fs::path(config) / "dualvex";
    const std::string home = HomeDirectory();
    if (home.empty()) return std::nullopt;
    return fs::path(home) / ".config" / "dualvex";
}

} // namespace

std::optional<SettingsFile> SettingsFile::ForRoot(SettingsRoot root)
{
    if (root != SettingsRoot::CurrentUser && root != SettingsRoot::LocalMachine) return std::nullopt;
    const bool user = root == SettingsRoot::CurrentUser;
    const char* name = user ? "user.conf" : "machine.conf";
    const char* shared = std::getenv("DUALVEX_CONFIG_DIR");
    if (shared != nullptr && *shared != '\0') return SettingsFile(fs::path(shared) / name, user);
    if (!user) return SettingsFile(fs::path("/etc/xdg/dualvex") / name, false);
    const std::optional<fs::path> dir = UserDirectory();
    if (!dir) return std::nullopt;
    return SettingsFile(*dir / name);
}

bool SettingsFile::Sync() const
{
    FileDescriptor file(open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.Valid() || fsync(file.Get()) != 0) return false;
    std::error_code ec;
    const fs::path dir = fs::canonical(m_path, ec).parent_path();
    if (ec) return false;
    FileDescriptor folder(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.Valid() && fsync(folder.Get()) == 0;
}

SettingsTree SettingsFile::Load() const
{
    SettingsTree tree;
    std::string reason;
    const std::optional<SettingsTarget> target = ResolveTarget(m_path, m_ownedByUser, reason);
    if (!target) {
        WarnOnce(m_path, reason);
        return tree;
    }
    if (ReadTree(target->path, tree) != LoadState::Loaded) tree = SettingsTree();
    return tree;
}

bool SettingsFile::Update(const std::function<bool(SettingsTree&)>& change, SettingsTree* result) const
{
    std::error_code ec;
    fs::create_directories(m_path.parent_path(), ec);
    if (ec) return false;

    const std::string lockPath = m_path.string() + ".lock";
    FileDescriptor lock(OpenLock(lockPath));
    if (!lock.Valid()) {
        WarnOnce(lockPath, "lässt sich nicht als eigene Sperrdatei öffnen");
        return false;
    }
    while (flock(lock.Get(), LOCK_EX) != 0)
        if (errno != EINTR) return false;

    // Resolved under the lock: what the link points to is what gets replaced.
    std::string reason;
    const std::optional<SettingsTarget> target = ResolveTarget(m_path, m_ownedByUser, reason);
    if (!target) {
        WarnOnce(m_path, reason);
        return false;
    }
    if (!MayReplace(target->path)) return false;
    SettingsTree tree;
    const LoadState state = ReadTree(target->path, tree);
    if (state == LoadState::Unreadable) return false;
    const bool corrupt = state == LoadState::Corrupt;
    if (corrupt) {
        // Only a file of ours in our own folder is renamed aside; what a link points
        // to may be anything the user keeps elsewhere and stays exactly as it is.
        if (target->linked) {
            WarnOnce(m_path, "ist ein Verweis auf eine Datei, die keine Einstellungen enthält");
            return false;
        }
        if (!SetAside(target->path)) return false;
        tree = SettingsTree();
    }
    // Most saves store what is already there; those leave the file untouched.
    if ((change(tree) || corrupt) && !ReplaceFile(target->path, FormatSettingsText(tree))) return false;
    if (result != nullptr) *result = std::move(tree);
    return true;
}

} // namespace dualvex
