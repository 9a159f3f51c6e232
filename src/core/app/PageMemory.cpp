#include "core/app/PageMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace dualvex {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t PageSize()
{
    const long size = sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<std::size_t>(size) : 4096;
}

std::size_t RoundUp(std::size_t value, std::size_t unit)
{
    return (value + unit - 1) / unit * unit;
}

void AdviseHuge(std::uint8_t* data, std::size_t size)
{
    if (size >= kHugePage) madvise(data, size, MADV_HUGEPAGE);
}

// Maps size bytes aligned to a huge page when the size calls for one, so the
// kernel can back the whole range with huge pages from the first touch.
std::uint8_t* MapAligned(std::size_t size)
{
    const std::size_t slack = size >= kHugePage ? kHugePage : 0;
    void* raw = mmap(nullptr, size + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    auto* base = static_cast<std::uint8_t*>(raw);
    if (slack == 0) return base;
    const auto addr = reinterpret_cast<std::uintptr_t>(base);
    const std::size_t head = RoundUp(addr, kHugePage) - addr;
    if (head != 0) munmap(base, head);
    if (slack - head != 0) munmap(base + head + size, slack - head);
    return base + head;
}

// One shared run of 0xFF pages that gaps of sparse images are mapped over. Its size
// keeps the number of mappings for a 4 GiB gap (one per run) near 2,000, far below
// the kernel's limit on mappings per process.
constexpr std::size_t kFFRun = std::size_t{2} << 20;

int MakeFFFile()
{
    const int fd = memfd_create("dualvex-ff", MFD_CLOEXEC);
    if (fd < 0) return -1;
    void* view = ftruncate(fd, static_cast<off_t>(kFFRun)) == 0
                     ? mmap(nullptr, kFFRun, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                     : MAP_FAILED;
    if (view == MAP_FAILED) {
        close(fd);
        return -1;
    }
    std::memset(view, 0xFF, kFFRun);
    munmap(view, kFFRun);
    return fd;
}

// Created on first use and kept for the rest of the run.
int FFFile()
{
    static const int fd = MakeFFFile();
    return fd;
}

bool MapFF(std::uint8_t* data, std::size_t length)
{
    const int fd = FFFile();
    if (fd < 0) return false;
    for (std::size_t at = 0; at < length; at += kFFRun) {
        const std::size_t run = std::min(kFFRun, length - at);
        if (mmap(data + at, run, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_FIXED, fd, 0) == MAP_FAILED)
            return false;
    }
    return true;
}

} // namespace

PageMemory::~PageMemory()
{
    Release();
}

PageMemory::PageMemory(PageMemory&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

PageMemory& PageMemory::operator=(PageMemory&& other) noexcept
{
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

bool PageMemory::Allocate(std::size_t size, bool populate)
{
    Release();
    const std::size_t mapped = RoundUp(size == 0 ? 1 : size, PageSize());
    std::uint8_t* data = MapAligned(mapped);
    if (data == nullptr) return false;
    AdviseHuge(data, mapped);
#ifdef MADV_POPULATE_WRITE
    if (populate) madvise(data, mapped, MADV_POPULATE_WRITE);
#else
    (void)populate;
#endif
    m_data = data;
    m_size = mapped;
    return true;
}

bool PageMemory::Resize(std::size_t size)
{
    if (m_data == nullptr) return Allocate(size, false);
    const std::size_t mapped = RoundUp(size == 0 ? 1 : size, PageSize());
    if (mapped == m_size) return true;
    void* moved = mremap(m_data, m_size, mapped, MREMAP_MAYMOVE);
    if (moved == MAP_FAILED) return false;
    m_data = static_cast<std::uint8_t*>(moved);
    m_size = mapped;
    AdviseHuge(m_data, m_size);
    return true;
}

bool PageMemory::Populate(std::size_t offset, std::size_t length) const
{
    if (m_data == nullptr || offset >= m_size) return false;
#ifdef MADV_POPULATE_WRITE
    return madvise(m_data + offset, std::min(length, m_size - offset), MADV_POPULATE_WRITE) == 0;
#else
    (void)length;
    return false;
#endif
}

bool PageMemory::FillWithFF(std::size_t offset, std::size_t length)
{
    if (m_data == nullptr || offset >= m_size) return length == 0;
    length = std::min(length, m_size - offset);
    std::uint8_t* data = m_data + offset;
    if (MapFF(data, length)) return true;
    // A failed fixed mapping may have left part of the range unmapped: give it fresh
    // anonymous pages before filling them.
    if (mmap(data, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) ==
        MAP_FAILED)
        return false;
    std::memset(data, 0xFF, length);
    return true;
}

void PageMemory::Release()
{
    if (m_data != nullptr) munmap(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}

} // namespace dualvex
