#include "core/tools/CrcEngine.h"

#include "core/support/TextConv.h"

#include <algorithm>

namespace dualvex {

namespace {

// Stored polynomials are the reflected forms, as the list has always shown them.
constexpr CrcPreset kPresets[kCrcPresetCount] = {
    {"Frei definiert", 0, 0},
    {"CRC-CCITT (CRC-4)", 4, 0xC},
    {"USB (CRC-5)", 5, 0x14},
    {"Bluetooth", 5, 0x15},
    {"SD/MMC-Card (CRC-7)", 7, 0x48},
    {"CRC-8 (Dallas/Maxim 1-Wire Bus)", 8, 0x8C},
    {"CRC-8 (ITU-T)", 8, 0xE0},
    {"CRC-8 (SAE-J1850)", 8, 0xB8},
    {"CRC-12", 12, 0xF01},
    {"CAN-CRC", 15, 0x4CD1},
    {"CRC-CCITT (CRC-16)", 16, 0x8408},
    {"IBM-CRC-16", 16, 0xA001},
    {"XModem-CRC-16", 16, 0x1021},
    {"CRC-DNP (CRC-16)", 16, 0xA6BC},
    {"CRC-16 V\xC3\x96V 04.05.1", 16, 0xC6F6},
    {"CRC-24 (IETF RFC2440)", 24, 0xDF3261},
    {"CRC-32 (IEEE 802.3)", 32, 0xEDB88320},
    {"CRC-64 (ISO 3309)", 64, 0xD800000000000000},
    {"CRC-64 (ECMA-182)", 64, 0xC96C5795D7870F42},
};

} // namespace

std::uint64_t BitReverse(std::uint64_t value, unsigned n)
{
    if (n == 0 || n > 64) return 0;
    std::uint64_t result = 0;
    for (unsigned i = 0; i < n; ++i) {
        result = (result << 1) | (value & 1);
        value >>= 1;
    }
    return result;
}

std::uint64_t CrcMask(unsigned width)
{
    return width >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
}

unsigned CrcShift(unsigned width)
{
    return (width + 7) / 8 * 8 - 8;
}

unsigned ClampCrcWidth(std::uint64_t width)
{
    if (width == 0) return kCrcDefaultWidth;
    return width > kCrcMaxWidth ? kCrcMaxWidth : static_cast<unsigned>(width);
}

void BuildTableA(std::uint64_t reflected, CrcTable& table)
{
    for (unsigned i = 0; i < 256; ++i) {
        std::uint64_t v = i;
        for (int bit = 0; bit < 8; ++bit) v = (v >> 1) ^ ((v & 1) ? reflected : 0);
        table[i] = v;
    }
}

void BuildTableB(std::uint64_t normal, unsigned width, CrcTable& table)
{
    const unsigned s = CrcShift(width);
    const std::uint64_t top = std::uint64_t{1} << (width - 1);
    const std::uint64_t mask = CrcMask(width);
    for (unsigned i = 0; i < 256; ++i) {
        std::uint64_t v = 0;
        std::uint64_t x = std::uint64_t{i} << s;
        for (int bit = 0; bit < 8; ++bit) {
            v = ((v ^ x) & top) ? (v << 1) ^ normal : v << 1;
            x <<= 1;
        }
        table[i] = v & mask;
    }
}

// The register sits one bit up in the index byte, so the table reduces the x^width
// term after every shift. Below width 7 the index byte carries bits that no reduction
// reaches; cutting the entries to the mask keeps the register within its width (and
// the generated code's index below 256) and changes nothing from width 7 up.
void BuildTableC(std::uint64_t normal, unsigned width, CrcTable& table)
{
    const std::uint64_t t = width < 64 ? std::uint64_t{1} << width : 0;
    const std::uint64_t p = normal | t;
    const std::uint64_t mask = CrcMask(width);
    for (unsigned i = 0; i < 256; ++i) {
        std::uint64_t v = i;
        if (v & t) v ^= p;
        for (int bit = 0; bit < 7; ++bit) {
            v <<= 1;
            if (v & t) v ^= p;
        }
        table[i] = v & mask;
    }
}

namespace {

// One byte step of each algorithm. Every table is linear in its index, so a step is
// step(crc, 0) XOR table[byte]: the register part and the data part can be folded
// separately, which is what the slices do for eight bytes at a time.
struct StepA {
    const CrcTable& table;
    std::uint64_t operator()(std::uint64_t crc, std::uint8_t byte) const
    {
        return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
};

// The register moves right by s to bring its top byte into the index and then left by
// one byte, the standard MSB-first step; it is kept cut to the mask.
struct StepB {
    const CrcTable& table;
    unsigned shift;
    std::uint64_t indexMask;
    std::uint64_t mask;
    StepB(const CrcTable& t, unsigned width)
        : table(t), shift(CrcShift(width)), indexMask((CrcMask(width) >> shift) & 0xFF), mask(CrcMask(width))
    {
    }
    std::uint64_t operator()(std::uint64_t crc, std::uint8_t byte) const
    {
        return (table[((crc >> shift) & indexMask) ^ byte] ^ (crc << 8)) & mask;
    }
};

struct StepC {
    const CrcTable& table;
    std::uint64_t operator()(std::uint64_t crc, std::uint8_t byte) const
    {
        return table[((crc & 127) << 1) ^ byte];
    }
};

template <class Step> void BuildSlices(const Step& step, CrcSlices& slices)
{
    for (unsigned v = 0; v < 256; ++v) {
        std::uint64_t term = step(0, static_cast<std::uint8_t>(v));
        for (int k = 7; k >= 0; --k) {
            slices.data[k][v] = term;
            term = step(term, 0);
        }
    }
    for (unsigned j = 0; j < 8; ++j) {
        std::uint64_t basis[8];
        for (unsigned bit = 0; bit < 8; ++bit) {
            basis[bit] = std::uint64_t{1} << (8 * j + bit);
            for (int k = 0; k < 8; ++k) basis[bit] = step(basis[bit], 0);
        }
        slices.reg[j][0] = 0;
        for (unsigned v = 1; v < 256; ++v) {
            slices.reg[j][v] = slices.reg[j][v & (v - 1)] ^ basis[__builtin_ctz(v)];
        }
    }
}

bool AllBelow(const std::uint64_t* values, std::size_t count, std::uint64_t limit)
{
    for (std::size_t i = 0; i < count; ++i)
        if (values[i] >= limit) return false;
    return true;
}

void MarkNarrow(const CrcTable& table, CrcSlices& s)
{
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 32;
    s.highTermsZero = AllBelow(&s.reg[4][0], 4 * 256, 1);
    s.staysNarrow = AllBelow(table, 256, kLimit) && AllBelow(&s.reg[0][0], 4 * 256, kLimit) &&
                    AllBelow(&s.data[0][0], 8 * 256, kLimit);
    // The terms are linear, so equal tables give reg[r][x] ^ data[j][y] = data[j][x ^ y].
    std::fill(s.foldShift, s.foldShift + 4, -1); // the slices are reused for the next polynomial
    bool used[4] = {};
    int shifts[4] = {-1, -1, -1, -1};
    for (int j = 0; j < 4; ++j) {
        for (int r = 0; r < 4 && shifts[j] < 0; ++r) {
            if (!used[r] && std::equal(s.data[j], s.data[j] + 256, s.reg[r])) {
                used[r] = true;
                shifts[j] = 8 * r;
            }
        }
        if (shifts[j] < 0) return;
    }
    std::copy(shifts, shifts + 4, s.foldShift);
}

// Eight bytes per step with each of the first four data bytes folded into its register
// byte; leaves the bytes that do not fill a step to the caller.
std::size_t RunFolded(std::uint64_t& crc, const std::uint8_t* data, std::size_t length, const CrcSlices& s)
{
    const unsigned s0 = static_cast<unsigned>(s.foldShift[0]);
    const unsigned s1 = static_cast<unsigned>(s.foldShift[1]);
    const unsigned s2 = static_cast<unsigned>(s.foldShift[2]);
    const unsigned s3 = static_cast<unsigned>(s.foldShift[3]);
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        const std::uint8_t* p = data + i;
        crc = s.data[0][((crc >> s0) ^ p[0]) & 0xFF] ^ s.data[1][((crc >> s1) ^ p[1]) & 0xFF] ^
              s.data[2][((crc >> s2) ^ p[2]) & 0xFF] ^ s.data[3][((crc >> s3) ^ p[3]) & 0xFF] ^
              s.data[4][p[4]] ^ s.data[5][p[5]] ^ s.data[6][p[6]] ^ s.data[7][p[7]];
    }
    return i;
}

template <bool Narrow, class Step>
std::uint64_t RunWith(std::uint64_t crc, const std::uint8_t* data, std::size_t length, const CrcSlices& s,
                      const Step& step)
{
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        const std::uint8_t* p = data + i;
        std::uint64_t next = s.reg[0][crc & 0xFF] ^ s.reg[1][(crc >> 8) & 0xFF] ^
                             s.reg[2][(crc >> 16) & 0xFF] ^ s.reg[3][(crc >> 24) & 0xFF] ^ s.data[0][p[0]] ^
                             s.data[1][p[1]] ^ s.data[2][p[2]] ^ s.data[3][p[3]] ^ s.data[4][p[4]] ^
                             s.data[5][p[5]] ^ s.data[6][p[6]] ^ s.data[7][p[7]];
        if constexpr (!Narrow) {
            next ^= s.reg[4][(crc >> 32) & 0xFF] ^ s.reg[5][(crc >> 40) & 0xFF] ^
                    s.reg[6][(crc >> 48) & 0xFF] ^ s.reg[7][crc >> 56];
        }
        crc = next;
    }
    for (; i < length; ++i) crc = step(crc, data[i]);
    return crc;
}

template <class Step>
std::uint64_t Run(std::uint64_t crc, const std::uint8_t* data, std::size_t length, const CrcSlices& s,
                  const Step& step)
{
    const bool narrow = s.highTermsZero || (s.staysNarrow && (crc >> 32) == 0);
    if (narrow && s.foldShift[0] >= 0) {
        const std::size_t done = RunFolded(crc, data, length, s);
        for (std::size_t i = done; i < length; ++i) crc = step(crc, data[i]);
        return crc;
    }
    if (narrow) return RunWith<true>(crc, data, length, s, step);
    return RunWith<false>(crc, data, length, s, step);
}

} // namespace

std::uint64_t ComputeA(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTables& tables)
{
    if (!tables.slices) return start;
    return Run(start, data, length, tables.slices[0], StepA{tables.a});
}

std::uint64_t ComputeB(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTables& tables)
{
    if (!tables.slices) return start;
    const StepB step(tables.b, tables.width);
    return Run(start & step.mask, data, length, tables.slices[1], step);
}

std::uint64_t ComputeC(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTables& tables)
{
    if (!tables.slices) return start;
    return Run(start, data, length, tables.slices[2], StepC{tables.c});
}

bool CrcTables::Build(std::uint64_t reflectedPolynomial, unsigned crcWidth)
{
    crcWidth = ClampCrcWidth(crcWidth);
    if (width == crcWidth && reflected == reflectedPolynomial) return false;
    reflected = reflectedPolynomial;
    width = crcWidth;
    const std::uint64_t normal = BitReverse(reflected, width);
    BuildTableA(reflected, a);
    BuildTableB(normal, width, b);
    BuildTableC(normal, width, c);
    if (!slices) slices = std::make_unique<CrcSlices[]>(3);
    BuildSlices(StepA{a}, slices[0]);
    BuildSlices(StepB(b, width), slices[1]);
    BuildSlices(StepC{c}, slices[2]);
    MarkNarrow(a, slices[0]);
    MarkNarrow(b, slices[1]);
    MarkNarrow(c, slices[2]);
    return true;
}

const CrcPreset& GetCrcPreset(int index)
{
    return kPresets[index > 0 && index < kCrcPresetCount ? index : 0];
}

int FindCrcPreset(unsigned width, std::uint64_t reflected)
{
    for (int row = kCrcPresetCount - 1; row > 0; --row) {
        if (kPresets[row].width == width && kPresets[row].reflected == reflected) return row;
    }
    return 0;
}

unsigned CrcHexDigits(unsigned width)
{
    return (width + 3) / 4;
}

int FormatCrcHex(std::uint64_t value, unsigned width, char* dest, std::size_t destSize)
{
    char format[16];
    PrintText(format, sizeof format, "0x%%0%uI64X", CrcHexDigits(ClampCrcWidth(width)));
    return PrintText(dest, destSize, format, static_cast<unsigned long long>(value));
}

} // namespace dualvex
