#include "CrcEngine.h"

#include "support/TextConv.h"

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

}  // namespace

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

std::uint64_t ComputeA(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTable& tableA)
{
    std::uint64_t crc = start;
    for (std::size_t i = 0; i < length; ++i) crc = tableA[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

// The register moves right by s to bring its top byte into the index and then left by
// one byte, the standard MSB-first step. Masking the index instead of the register
// keeps bits above the width out of the lookup; they never flow back down, so one
// final cut to the mask gives the same result as cutting after every byte.
std::uint64_t ComputeB(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTable& tableB, unsigned width)
{
    const unsigned s = CrcShift(width);
    const std::uint64_t mask = CrcMask(width);
    const std::uint64_t indexMask = (mask >> s) & 0xFF;
    std::uint64_t crc = start;
    for (std::size_t i = 0; i < length; ++i) crc = tableB[((crc >> s) & indexMask) ^ data[i]] ^ (crc << 8);
    return crc & mask;
}

std::uint64_t ComputeC(std::uint64_t start, const std::uint8_t* data, std::size_t length,
                       const CrcTable& tableC)
{
    std::uint64_t crc = start;
    for (std::size_t i = 0; i < length; ++i) crc = tableC[((crc & 127) << 1) ^ data[i]];
    return crc;
}

bool CrcTables::Build(std::uint64_t reflectedPolynomial, unsigned crcWidth)
{
    if (width == crcWidth && reflected == reflectedPolynomial) return false;
    reflected = reflectedPolynomial;
    width = crcWidth;
    const std::uint64_t normal = BitReverse(reflected, width);
    BuildTableA(reflected, a);
    BuildTableB(normal, width, b);
    BuildTableC(normal, width, c);
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

}  // namespace dualvex
