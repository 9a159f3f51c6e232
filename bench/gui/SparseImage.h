// Anonymous memory reserved without backing for the GUI benchmarks: reads give zeros
// and cost no RAM, so images of gigabytes fit on any machine.
#pragma once

#include <cstddef>
#include <cstdint>

#include <sys/mman.h>

class SparseImage {
  public:
    explicit SparseImage(std::size_t size) : m_size(size)
    {
        void* p =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        m_data = p == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(p);
    }
    ~SparseImage()
    {
        if (m_data != nullptr) munmap(m_data, m_size);
    }
    SparseImage(const SparseImage&) = delete;
    SparseImage& operator=(const SparseImage&) = delete;
    std::uint8_t* data() const { return m_data; }

  private:
    std::size_t m_size;
    std::uint8_t* m_data;
};
