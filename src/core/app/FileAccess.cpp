#include "core/app/FileAccess.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/app/MappedRegion.h"

namespace dualvex {
namespace {

// Closes the descriptor when leaving the scope.
class ScopedFd {
  public:
    explicit ScopedFd(int fd) : m_fd(fd) {}
    ~ScopedFd()
    {
        if (m_fd >= 0) close(m_fd);
    }
    ScopedFd(const ScopedFd&) = delete;
    ScopedFd& operator=(const ScopedFd&) = delete;
    int Get() const { return m_fd; }

  private:
    int m_fd;
};

// Reads up to size bytes; the count read may be short when the file shrank.
bool ReadFully(int fd, std::uint8_t* data, std::uint64_t size, std::uint64_t& got)
{
    got = 0;
    while (got < size) {
        const ssize_t n = pread(fd, data + got, size - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::uint64_t>(n);
    }
    return true;
}

const std::uint8_t* MapReadOnly(int fd, std::uint64_t size)
{
    void* view = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (view == MAP_FAILED) return nullptr;
    // The comparison walks the whole file at once; ask for read-ahead now.
    madvise(view, size, MADV_WILLNEED);
    return static_cast<const std::uint8_t*>(view);
}

} // namespace

// The kind is checked before opening, so a FIFO or device is never opened; the
// descriptor is checked again because the path may have changed in between, and
// O_NONBLOCK keeps even that case from waiting on a FIFO writer.
LoadStatus OpenRegularFile(const std::string& path, int& fd, std::uint64_t& size)
{
    if (GetFileKind(path) != FileKind::Regular) return LoadStatus::NotComparable;
    fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return LoadStatus::CannotOpen;
    struct stat st {};
    if (fstat(fd, &st) != 0) return LoadStatus::CannotOpen;
    if (!S_ISREG(st.st_mode)) return LoadStatus::NotComparable;
    size = static_cast<std::uint64_t>(st.st_size);
    return LoadStatus::Ok;
}

FileKind GetFileKind(const std::string& path)
{
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return FileKind::Missing;
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    if (S_ISDIR(st.st_mode)) return FileKind::Directory;
    return FileKind::Special;
}

LoadStatus LoadRawImage(const std::string& path, MemoryImage& out)
{
    int raw = -1;
    std::uint64_t size = 0;
    const LoadStatus status = OpenRegularFile(path, raw, size);
    const ScopedFd fd(raw);
    if (status != LoadStatus::Ok) return status;
    if (size > kMaxImageLength) return LoadStatus::TooLarge;
    if (size == 0) {
        out = MemoryImage();
        return LoadStatus::Ok;
    }
    if (size >= kMapThreshold) {
        const std::uint8_t* view = MapReadOnly(fd.Get(), size);
        if (view == nullptr) return LoadStatus::CannotOpen;
        out = MemoryImage::FromMapping(view, size);
        return LoadStatus::Ok;
    }
    PageMemory copy;
    std::uint64_t got = 0;
    if (!copy.Allocate(size, true) || !ReadFully(fd.Get(), copy.Data(), size, got))
        return LoadStatus::CannotOpen;
    out = MemoryImage::FromPrivate(std::move(copy), static_cast<ImageLength>(got));
    return LoadStatus::Ok;
}

LoadStatus WithFileText(const std::string& path, const std::function<bool(const char*, std::size_t)>& use)
{
    int raw = -1;
    std::uint64_t size = 0;
    const LoadStatus status = OpenRegularFile(path, raw, size);
    const ScopedFd fd(raw);
    if (status != LoadStatus::Ok) return status;
    if (size == 0) return use("", 0) ? LoadStatus::Ok : LoadStatus::CannotOpen;
    const std::uint8_t* view = MapReadOnly(fd.Get(), size);
    if (view == nullptr) return LoadStatus::CannotOpen;
    madvise(const_cast<std::uint8_t*>(view), size, MADV_SEQUENTIAL);
    // A file truncated while it is decoded reads as zeros past its new end; the
    // text is then not what the file holds and the load fails.
    MappedRegion guard(view, size);
    const bool ok = use(reinterpret_cast<const char*>(view), size) && !guard.Faulted();
    guard.Release();
    munmap(const_cast<std::uint8_t*>(view), size);
    return ok ? LoadStatus::Ok : LoadStatus::CannotOpen;
}

} // namespace dualvex
