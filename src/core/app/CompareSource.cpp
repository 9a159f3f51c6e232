#include "core/app/CompareSource.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/app/FileAccess.h"

namespace dualvex {
namespace {

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// What a hole reads as. Reading a hole costs the kernel a fresh zeroed page
// per 4 KiB (about 1.3 GB/s here); asking where data lies costs one call.
constexpr std::size_t kZeroBytes = std::size_t{128} << 10;
const std::uint8_t kZeros[kZeroBytes] = {};

// Whether [offset, offset + count) lies in a hole of the file. File systems
// that do not know holes report data everywhere, so the bytes are read.
bool InHole(int fd, std::uint64_t offset, std::size_t count)
{
    const off_t data = lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
    if (data >= 0) return static_cast<std::uint64_t>(data) >= offset + count;
    if (errno != ENXIO) return false;
    // No data from offset on: a hole up to the end, unless the file is shorter
    // now, which the read must find.
    struct stat st {};
    return fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) >= offset + count;
}

} // namespace

CompareSource::~CompareSource()
{
    if (m_fd >= 0) close(m_fd);
}

LoadStatus CompareSource::Open(const std::string& path)
{
    int fd = -1;
    std::uint64_t size = 0;
    const LoadStatus status = OpenRegularFile(path, fd, size);
    if (status != LoadStatus::Ok || fstat(fd, &m_opened) != 0) {
        if (fd >= 0) close(fd);
        return status != LoadStatus::Ok ? status : LoadStatus::CannotOpen;
    }
    m_fd = fd;
    m_path = path;
    m_length = size;
    // The parts are taken in position order, so the file is read front to back.
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return LoadStatus::Ok;
}

void CompareSource::Take(MemoryImage image)
{
    m_image = std::move(image);
    m_length = m_image.Length();
}

const std::uint8_t* CompareSource::Read(std::uint64_t offset, std::size_t count, std::uint8_t* buffer,
                                        ReadStatus& status, int& error) const
{
    status = ReadStatus::Ok;
    error = 0;
    if (m_fd < 0) return m_image.Data() + offset;
    if (count <= kZeroBytes && InHole(m_fd, offset, count)) return kZeros;
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = pread(m_fd, buffer + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            status = ReadStatus::Failed;
            error = errno;
            return nullptr;
        }
        if (n == 0) {
            status = ReadStatus::Changed;
            return nullptr;
        }
        got += static_cast<std::size_t>(n);
    }
    return buffer;
}

bool CompareSource::Unchanged() const
{
    if (m_fd < 0) return true;
    struct stat now {};
    struct stat named {};
    if (fstat(m_fd, &now) != 0 || stat(m_path.c_str(), &named) != 0) return false;
    return now.st_size == m_opened.st_size && SameTime(now.st_mtim, m_opened.st_mtim) &&
           SameTime(now.st_ctim, m_opened.st_ctim) && named.st_dev == m_opened.st_dev &&
           named.st_ino == m_opened.st_ino;
}

} // namespace dualvex
