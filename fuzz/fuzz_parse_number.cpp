// Feeds arbitrary text and flag words to the number reader and checks, with guard
// bytes behind every destination, that the number writer, the hex dump and the
// literal escaping stay inside their buffers and that written numbers read back.
#include "core/support/TextConv.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace dualvex;

namespace {

constexpr unsigned char kGuard = 0x5A;

std::uint32_t Word(const std::uint8_t* data, std::size_t size, std::size_t at)
{
    std::uint32_t w = 0;
    for (std::size_t i = 0; i < 4; ++i)
        w |= static_cast<std::uint32_t>(at + i < size ? data[at + i] : 0) << (8 * i);
    return w;
}

void Check(bool condition)
{
    if (!condition) std::abort();
}

struct Guarded {
    std::vector<char> bytes;
    std::size_t size;
    explicit Guarded(std::size_t n) : bytes(n + 32, static_cast<char>(kGuard)), size(n) {}
    char* data() { return bytes.data(); }
    void CheckGuard() const
    {
        for (std::size_t i = size; i < bytes.size(); ++i) Check(bytes[i] == static_cast<char>(kGuard));
    }
};

void FuzzParse(const char* text, std::size_t length, std::uint32_t flags)
{
    int end = -1;
    ParseNumber(text, flags, &end);
    Check(end >= 0 && static_cast<std::size_t>(end) <= length);
}

void FuzzFormat(std::uint32_t value, std::uint32_t flags)
{
    Guarded out(37);
    const int len = FormatNumber(value, out.data(), flags);
    out.CheckGuard();
    Check(len >= 0 && len <= 36 && std::strlen(out.data()) == static_cast<std::size_t>(len));

    // The prefixed styles and plain decimal read back through the automatic notation
    // unless the width cut digits off.
    const std::uint32_t style = flags & 0xFF;
    if (!(flags & 0xC000) && style <= 3) {
        int end = -1;
        Check(ParseNumber(out.data(), 0, &end) == value);
        Check(end == len);
    }
}

void FuzzDump(const std::uint8_t* data, std::size_t size, std::uint32_t flags)
{
    const int count = static_cast<int>(size);
    const int group = static_cast<int>(flags & 0xFF);
    const int groups = group ? (count + group - 1) / group : 0;
    Guarded out(static_cast<std::size_t>(3 * count + 2 * groups + 2));
    const int len = FormatHexDump(data, out.data(), count, flags);
    out.CheckGuard();
    Check(len >= 0 && static_cast<std::size_t>(len) < out.size);
}

void FuzzEscape(const std::uint8_t* data, std::size_t size, std::uint32_t flags, int destSize)
{
    Guarded out(static_cast<std::size_t>(destSize));
    const int len = EscapeString(out.data(), destSize, data, static_cast<int>(size), flags);
    out.CheckGuard();
    if (destSize > 0)
        Check(len < destSize && std::strlen(out.data()) == static_cast<std::size_t>(len));
    else
        Check(len == 0);

    Guarded one(8);
    Check(EscapeChar(size ? data[0] : 0, one.data(), (flags & 1) != 0) <= 7);
    one.CheckGuard();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8) return 0;
    const std::uint32_t flags = Word(data, size, 0);
    const std::uint32_t other = Word(data, size, 4);
    const std::uint8_t* rest = data + 8;
    const std::size_t restSize = size - 8;

    const std::vector<char> text(rest, rest + restSize);
    std::vector<char> terminated(text);
    terminated.push_back('\0');
    FuzzParse(terminated.data(), std::strlen(terminated.data()), flags);
    FuzzFormat(ParseNumber(terminated.data(), flags & ~0xFFu), other);
    FuzzFormat(other ^ flags, flags);
    FuzzDump(rest, restSize, flags);
    FuzzEscape(rest, restSize, flags, static_cast<int>(other % 300));
    return 0;
}
