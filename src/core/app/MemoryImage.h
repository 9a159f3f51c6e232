// One loaded file as a contiguous read-only byte buffer: either a read-only
// mapping of the file (large files, so they are never copied) or a private copy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/app/MappedRegion.h"
#include "core/app/PageMemory.h"
#include "core/support/Position.h"

namespace dualvex {

// Files from this length on stay mapped; shorter ones are copied.
constexpr std::uint64_t kMapThreshold = 4u << 20;

// Outcome of loading one file.
enum class LoadStatus {
    Ok,
    NotComparable, // missing, or not a regular file (directory, device, FIFO, socket)
    CannotOpen,    // cannot be opened, read, mapped or decoded into memory
    TooLarge,      // 4 GiB or more: the length would not fit an image
};

class MemoryImage {
  public:
    MemoryImage() = default;
    ~MemoryImage();
    MemoryImage(MemoryImage&& other) noexcept;
    MemoryImage& operator=(MemoryImage&& other) noexcept;
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    // Takes a private buffer holding length valid bytes.
    static MemoryImage FromPrivate(PageMemory memory, ImageLength length);
    // Takes a read-only mapping of a whole file; it is unmapped on release.
    static MemoryImage FromMapping(const std::uint8_t* view, std::size_t viewLength);

    // Never null: an empty image still points at a readable byte.
    const std::uint8_t* Data() const;
    ImageLength Length() const { return m_length; }
    bool IsMapped() const { return m_view != nullptr; }
    // True when the mapped file was truncated under us and a read ran past its new
    // end: the image then holds zeros there and no longer shows the file.
    bool Faulted() const { return m_guard.Faulted(); }
    void Release();

  private:
    PageMemory m_private;
    const std::uint8_t* m_view = nullptr;
    std::size_t m_viewLength = 0;
    MappedRegion m_guard; // keeps a truncated mapping from ending the program
    ImageLength m_length = 0;
};

} // namespace dualvex
