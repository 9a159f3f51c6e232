// Keeps a read-only file mapping readable when another process truncates the file.
// Reading a mapped page beyond the file's new end raises SIGBUS, which would end the
// program. While a region is registered here, such a fault maps zero pages over the
// rest of the region instead, and the region remembers that its contents changed.
#pragma once

#include <cstddef>

namespace dualvex {

class MappedRegion {
  public:
    MappedRegion() = default;
    // Registers [data, data + length); the fault handler is installed on first use.
    // Without a free slot the region stays unguarded (Guarded() is false).
    MappedRegion(const void* data, std::size_t length);
    ~MappedRegion();
    MappedRegion(MappedRegion&& other) noexcept;
    MappedRegion& operator=(MappedRegion&& other) noexcept;
    MappedRegion(const MappedRegion&) = delete;
    MappedRegion& operator=(const MappedRegion&) = delete;

    bool Guarded() const { return m_slot >= 0; }
    // True once a read of the region faulted: from that page on it reads zeros and
    // no longer shows the file.
    bool Faulted() const;
    // Ends the guard; call before the mapping is unmapped.
    void Release();

  private:
    int m_slot = -1;
};

} // namespace dualvex
