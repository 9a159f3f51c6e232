#include "core/app/MemoryImage.h"

#include <sys/mman.h>

#include <utility>

namespace dualvex {
namespace {
constexpr std::uint8_t kEmptyByte = 0;
}

MemoryImage::~MemoryImage()
{
    Release();
}

MemoryImage::MemoryImage(MemoryImage&& other) noexcept
    : m_private(std::move(other.m_private)), m_view(std::exchange(other.m_view, nullptr)),
      m_viewLength(std::exchange(other.m_viewLength, 0)), m_guard(std::move(other.m_guard)),
      m_length(std::exchange(other.m_length, 0))
{
}

MemoryImage& MemoryImage::operator=(MemoryImage&& other) noexcept
{
    if (this != &other) {
        Release();
        m_private = std::move(other.m_private);
        m_view = std::exchange(other.m_view, nullptr);
        m_viewLength = std::exchange(other.m_viewLength, 0);
        m_guard = std::move(other.m_guard);
        m_length = std::exchange(other.m_length, 0);
    }
    return *this;
}

MemoryImage MemoryImage::FromPrivate(PageMemory memory, ImageLength length)
{
    MemoryImage image;
    image.m_private = std::move(memory);
    image.m_length = image.m_private.Data() != nullptr ? length : 0;
    return image;
}

MemoryImage MemoryImage::FromMapping(const std::uint8_t* view, std::size_t viewLength)
{
    MemoryImage image;
    image.m_view = view;
    image.m_viewLength = viewLength;
    image.m_guard = MappedRegion(view, viewLength);
    image.m_length = static_cast<ImageLength>(viewLength);
    return image;
}

const std::uint8_t* MemoryImage::Data() const
{
    if (m_view != nullptr) return m_view;
    if (m_private.Data() != nullptr) return m_private.Data();
    return &kEmptyByte;
}

void MemoryImage::Release()
{
    m_guard.Release();
    if (m_view != nullptr) munmap(const_cast<std::uint8_t*>(m_view), m_viewLength);
    m_view = nullptr;
    m_viewLength = 0;
    m_private.Release();
    m_length = 0;
}

} // namespace dualvex
