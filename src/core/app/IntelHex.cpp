#include "core/app/IntelHex.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

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

// Collects data records into a growing buffer. Gaps read as 0xFF, but only the
// 64 KiB blocks that records touch are filled byte by byte; the untouched ones are
// mapped over shared 0xFF pages at the end, so a record near 4 GiB costs no memory
// for the space below it.
class ImageBuilder {
  public:
    explicit ImageBuilder(std::uint64_t limit) : m_limit(std::min(limit, kMaxImageLength)) {}

    // Stores what fits below the limit; placed tells whether that was all of it.
    bool Store(std::uint64_t start, const std::uint8_t* data, std::uint64_t count, bool& placed)
    {
        placed = start + count <= m_limit;
        if (start >= m_limit) return true; // nothing of it fits an image
        const std::uint64_t end = std::min(start + count, m_limit);
        if (end == start) {
            m_highWater = std::max(m_highWater, end);
            return true;
        }
        if (!Reserve(end)) return false;
        for (std::uint64_t block = start / kGrowStep; block <= (end - 1) / kGrowStep; ++block) Touch(block);
        std::memcpy(m_memory.Data() + start, data, end - start);
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
        const std::uint64_t blocks = RoundUp(length, kGrowStep) / kGrowStep;
        for (std::uint64_t block = 0; block < blocks;) {
            if (IsTouched(block)) {
                ++block;
                continue;
            }
            std::uint64_t next = block + 1;
            while (next < blocks && !IsTouched(next)) ++next;
            if (!m_memory.FillWithFF(block * kGrowStep, (next - block) * kGrowStep)) return false;
            block = next;
        }
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
        const std::uint64_t capacity = std::min(RoundUp(wanted, kGrowStep), RoundUp(m_limit, kGrowStep));
        if (!m_memory.Resize(capacity)) return false;
        m_capacity = capacity;
        return true;
    }

    bool IsTouched(std::uint64_t block) const { return block < m_touched.size() && m_touched[block]; }

    // A block gets its 0xFF when the first record lands in it.
    void Touch(std::uint64_t block)
    {
        if (IsTouched(block)) return;
        if (block >= m_touched.size()) m_touched.resize(block + 1, false);
        m_touched[block] = true;
        std::memset(m_memory.Data() + block * kGrowStep, 0xFF, kGrowStep);
    }

    PageMemory m_memory;
    std::uint64_t m_limit;
    std::uint64_t m_capacity = 0;
    std::uint64_t m_highWater = 0; // end of the highest record
    std::vector<bool> m_touched;   // per 64 KiB block: filled and holding records
};

// Decodes the bytes after ":" until the first character that is neither a hex
// digit nor a blank. Bytes past a full record are never needed and not kept; p is
// left where decoding stopped.
int DecodeBytes(const char*& p, const char* end, std::uint8_t* bytes)
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

// A record line is sound when it holds exactly its byte count, address, type,
// data and a checksum that brings the sum of all its bytes to 0, and nothing else.
bool IsSoundRecord(const std::uint8_t* bytes, int decoded, const char* rest, const char* end)
{
    while (rest != end && IsBlank(*rest)) ++rest;
    if (rest != end || decoded != bytes[0] + 5) return false;
    unsigned sum = 0;
    for (int i = 0; i < decoded; ++i) sum += bytes[i];
    return (sum & 0xFF) == 0;
}

// Handles one line; false when the image memory ran out. A line that is not a
// sound record is still used as far as it can be, but counted as bad.
bool DecodeLine(const char* p, const char* end, std::uint64_t& base, ImageBuilder& image, bool& bad)
{
    while (p != end && IsBlank(*p)) ++p;
    bad = p != end && *p != ':';
    if (p == end || bad) return true;
    std::uint8_t bytes[kMaxRecordBytes];
    const char* rest = p + 1;
    const int decoded = DecodeBytes(rest, end, bytes);
    bad = decoded < 5 || !IsSoundRecord(bytes, decoded, rest, end);
    if (decoded < 5) return true;
    const unsigned count = bytes[0];
    const std::uint64_t address = bytes[1] * 256u + bytes[2];
    const unsigned type = bytes[3];
    switch (type) {
    case 0: {
        const unsigned n = std::min<unsigned>(count, static_cast<unsigned>(decoded - 5));
        bool placed = true;
        const bool ok = image.Store(base + address, bytes + 4, n, placed);
        bad = bad || !placed;
        return ok;
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

// The end of the line that starts at p: the first CR or LF, or the end of the text.
const char* LineEnd(const char* p, const char* end)
{
    const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    const char* lineEnd = nl != nullptr ? static_cast<const char*>(nl) : end;
    const void* cr = std::memchr(p, '\r', static_cast<std::size_t>(lineEnd - p));
    return cr != nullptr ? static_cast<const char*>(cr) : lineEnd;
}

} // namespace

bool DecodeIntelHex(const char* text, std::size_t size, MemoryImage& out, std::uint64_t limit,
                    IntelHexDefects* defects)
{
    ImageBuilder image(limit);
    IntelHexDefects found;
    std::uint64_t base = 0;
    std::uint64_t line = 0;
    const char* p = text;
    const char* end = text + size;
    while (p != end) {
        ++line;
        const char* lineEnd = LineEnd(p, end);
        bool bad = false;
        if (!DecodeLine(p, lineEnd, base, image, bad)) return false;
        if (bad && found.count++ == 0) found.firstLine = line;
        // CR, LF and CR LF each end one line.
        p = lineEnd;
        if (p != end && *p++ == '\r' && p != end && *p == '\n') ++p;
    }
    if (defects != nullptr) *defects = found;
    return image.Finish(out);
}

LoadStatus ReadIntelHex(const std::string& path, MemoryImage& out, IntelHexDefects* defects)
{
    return WithFileText(path, [&out, defects](const char* text, std::size_t size) {
        return DecodeIntelHex(text, size, out, kMaxImageLength, defects);
    });
}

std::string IntelHexWarning(const std::string& path, const IntelHexDefects& defects)
{
    if (defects.count == 0) return {};
    const std::string lines =
        defects.count == 1 ? "1 fehlerhafte Zeile" : std::to_string(defects.count) + " fehlerhafte Zeilen";
    return "Die Intel-Hex-Datei " + path + " enthält " + lines + " (erste in Zeile " +
           std::to_string(defects.firstLine) + "); gelesen wurde, was sich lesen ließ.";
}

} // namespace dualvex
