// Anonymous page memory for the large private buffers of a comparison (bit set,
// decoded Intel-HEX images). Allocations of 2 MiB and more ask for huge pages,
// because first touch of every 4 KiB page would otherwise cost more than the
// work done on it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dualvex {

class PageMemory {
  public:
    PageMemory() = default;
    ~PageMemory();
    PageMemory(PageMemory&& other) noexcept;
    PageMemory& operator=(PageMemory&& other) noexcept;
    PageMemory(const PageMemory&) = delete;
    PageMemory& operator=(const PageMemory&) = delete;

    // Replaces the buffer by a fresh zero-filled one of at least size bytes;
    // populate maps every page at once. False when the memory is not available.
    [[nodiscard]] bool Allocate(std::size_t size, bool populate);
    // Grows or shrinks the buffer keeping its contents; false leaves it unchanged.
    [[nodiscard]] bool Resize(std::size_t size);
    void Release();
    // Maps the pages of [offset, offset + length) without changing what they
    // hold; safe while another thread writes to them. False when unsupported.
    bool Populate(std::size_t offset, std::size_t length) const;
    // Makes the page-aligned range [offset, offset + length) read as 0xFF without
    // costing memory per page: it is mapped copy-on-write over one shared run of
    // 0xFF pages. Where that cannot be done the range is filled byte by byte;
    // false when even that memory cannot be had.
    [[nodiscard]] bool FillWithFF(std::size_t offset, std::size_t length);

    std::uint8_t* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }

  private:
    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0; // mapped length, a multiple of the page size
};

} // namespace dualvex
