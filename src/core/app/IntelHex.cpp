#include "core/app/IntelHex.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/app/FileAccess.h"
#include "core/support/TextConv.h"

namespace dualvex {
namespace {

constexpr std::uint64_t kGrowStep = 65536;
constexpr std::uint64_t kLengthUnit = 1024;
// Byte count, two address bytes, type, up to 255 data bytes and the checksum.
constexpr int kMaxRecordBytes = 4 + 255 + 1;

constexpr std::array<std::uint8_t, 256> MakeHexTable()
{
    std::array<std::uint8_t, 256> t{};
    for (auto& v : t) v = 0xFF;
    for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<std::uint8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) t[c] = static_cast<std::uint8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) t[c] = static_cast<std::uint8_t>(c - 'a' + 10);
    return t;
}
constexpr std::array<std::uint8_t, 256> kHexValue = MakeHexTable();

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t unit)
{
    return (value + unit - 1) / unit * unit;
}

// Collects data records into a growing buffer. Only bytes up to the highest
// stored position are ever touched before the end, so a sparse image costs
// memory only for what it holds; the rest is filled with 0xFF at the end.
class ImageBuilder {
  public:
    explicit ImageBuilder(std::uint64_t limit) : m_limit(std::min(limit, kMaxImageLength)) {}

    bool Store(std::uint64_t start, const std::uint8_t* data, std::uint64_t count)
    {
        if (start >= m_limit) return true; // nothing of it fits an image
        const std::uint64_t end = std::min(start + count, m_limit);
        if (!Reserve(end)) return false;
        if (start > m_filled) std::memset(m_memory.Data() + m_filled, 0xFF, start - m_filled);
        std::memcpy(m_memory.Data() + start, data, end - start);
        m_filled = std::max(m_filled, end);
        m_highWater = std::max(m_highWater, end);
        return true;
    }

    bool Finish(MemoryImage& out)
    {
        const std::uint64_t length = std::min(RoundUp(m_highWater, kLengthUnit), m_limit);
        if (length == 0) {
            out = MemoryImage();
            return true;
        }
        if (!Reserve(length)) return false;
        if (length > m_filled) std::memset(m_memory.Data() + m_filled, 0xFF, length - m_filled);
        out = MemoryImage::FromPrivate(std::move(m_memory), static_cast<ImageLength>(length));
        return true;
    }

  private:
    // Grows geometrically: records usually arrive in ascending order, and growing
    // by one step at a time would copy the image over and over.
    bool Reserve(std::uint64_t end)
    {
        if (end <= m_capacity) return true;
        const std::uint64_t wanted = std::max({end, m_capacity * 2, kGrowStep});
        const std::uint64_t capacity = std::min(RoundUp(wanted, kGrowStep), RoundUp(m_limit, kLengthUnit));
        if (!m_memory.Resize(capacity)) return false;
        m_capacity = capacity;
        return true;
    }

    PageMemory m_memory;
    std::uint64_t m_limit;
    std::uint64_t m_capacity = 0;
    std::uint64_t m_filled = 0;    // bytes below this are initialised
    std::uint64_t m_highWater = 0; // end of the highest record
};

// Decodes the bytes after ":" until the first character that is neither a hex
// digit nor a blank. Bytes past a full record are never needed and not kept.
int DecodeBytes(const char* p, const char* end, std::uint8_t* bytes)
{
    int count = 0;
    while (count < kMaxRecordBytes) {
        while (p != end && IsBlank(*p)) ++p;
        if (p == end) break;
        std::uint8_t value = kHexValue[static_cast<unsigned char>(*p)];
        if (value > 15) break;
        ++p;
        const std::uint8_t low = p != end ? kHexValue[static_cast<unsigned char>(*p)] : 0xFF;
        if (low <= 15) {
            value = static_cast<std::uint8_t>(value * 16 + low);
            ++p;
        }
        bytes[count++] = value;
    }
    return count;
}

// Handles one line; false when the image memory ran out.
bool DecodeLine(const char* p, const char* end, std::uint64_t& base, ImageBuilder& image)
{
    while (p != end && (IsBlank(*p) || *p == '\n' || *p == '\r')) ++p;
    if (p == end || *p != ':') return true;
    std::uint8_t bytes[kMaxRecordBytes];
    const int decoded = DecodeBytes(p + 1, end, bytes);
    if (decoded < 5) return true;
    const unsigned count = bytes[0];
    const std::uint64_t address = bytes[1] * 256u + bytes[2];
    const unsigned type = bytes[3];
    switch (type) {
    case 0: {
        const unsigned n = std::min<unsigned>(count, static_cast<unsigned>(decoded - 5));
        return image.Store(base + address, bytes + 4, n);
    }
    case 2:
        if (count >= 2 && decoded >= 7) base = (bytes[4] * 256u + bytes[5]) * std::uint64_t{16};
        return true;
    case 4:
        if (count >= 2 && decoded >= 7) base = (bytes[4] * 256u + bytes[5]) * std::uint64_t{65536};
        return true;
    default: return true;
    }
}

} // namespace

bool DecodeIntelHex(const char* text, std::size_t size, MemoryImage& out, std::uint64_t limit)
{
    ImageBuilder image(limit);
    std::uint64_t base = 0;
    const char* p = text;
    const char* end = text + size;
    while (p != end) {
        const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        const char* lineEnd = nl != nullptr ? static_cast<const char*>(nl) : end;
        if (!DecodeLine(p, lineEnd, base, image)) return false;
        p = lineEnd == end ? end : lineEnd + 1;
    }
    return image.Finish(out);
}

LoadStatus ReadIntelHex(const std::string& path, MemoryImage& out)
{
    return WithFileText(
        path, [&out](const char* text, std::size_t size) { return DecodeIntelHex(text, size, out); });
}

} // namespace dualvex
