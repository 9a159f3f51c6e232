// One side of a streamed comparison: a regular file of any length read in
// chunks with pread (so a file cut short under us gives a short read, not a
// fatal signal), or a decoded image already in memory.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/app/MemoryImage.h"

namespace dualvex {

enum class ReadStatus {
    Ok,
    Changed, // the file ended before the length it had when opened
    Failed,  // the system refused the read; see the error number
};

class CompareSource {
  public:
    CompareSource() = default;
    ~CompareSource();
    CompareSource(const CompareSource&) = delete;
    CompareSource& operator=(const CompareSource&) = delete;

    // Opens a regular file for reading; special files are refused.
    [[nodiscard]] LoadStatus Open(const std::string& path);
    // Compares an image decoded beforehand (Intel-HEX).
    void Take(MemoryImage image);

    std::uint64_t Length() const { return m_length; }

    // The bytes [offset, offset + count): read into buffer for a file, in place
    // for an image, a shared block of zeros for a hole of a sparse file. Null on
    // failure, with status and error number set.
    const std::uint8_t* Read(std::uint64_t offset, std::size_t count, std::uint8_t* buffer,
                             ReadStatus& status, int& error) const;

    // Whether the file still has the length, modification and change times it
    // had when opened, and its path still names it. Images are always unchanged.
    [[nodiscard]] bool Unchanged() const;

  private:
    int m_fd = -1;
    std::string m_path;
    struct stat m_opened {};
    MemoryImage m_image;
    std::uint64_t m_length = 0;
};

} // namespace dualvex
