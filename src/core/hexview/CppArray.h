// Source text from selected bytes: C/C++ initializer lists, assembler data lines,
// text literals and Base64, or a plain hex dump.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace dualvex {

// Format word: the format in bits 0-1, kCppBigEndian for big-endian values.
enum : std::uint32_t {
    kCppFormatC = 0,
    kCppFormatAssembler = 1,
    kCppFormatText = 2,
    kCppFormatDump = 3,
    kCppFormatMask = 3,
    kCppBigEndian = 128,
};

// The copy commands take at most this many bytes from the lower end of the selection.
inline constexpr int kCppCopyMaxBytes = 32768;

// Values per line as the settings give it: values below 1 mean 16, and only the low
// 8 bits count (a result of 0 means 16 as well).
[[nodiscard]] int CppLineSize(int stored);
// 1, 2, 4 or 8; anything else is read as 1.
[[nodiscard]] int CppValueSize(int stored);

// The buffer the commands give the generator for count bytes.
[[nodiscard]] int CppArrayBufferSize(int count, int valueSize);

// Writes the text for count bytes into dest (capacity bytes, terminator included)
// and returns its length. Generation stops before a value that would not fit (text
// literal lines are written whole). A last value that the bytes do not fill is
// completed with zero bytes.
int GenerateCppArray(const std::uint8_t* bytes, int count, int valueSize, std::uint32_t format, int lineSize,
                     char* dest, int capacity);

// What command 32797 puts on the clipboard (at most 32768 bytes are used).
[[nodiscard]] std::string CppArrayText(std::span<const std::uint8_t> selection, int valueSize,
                                       std::uint32_t format, int lineSize);

// What command 35083 puts on the clipboard: the bytes (at most 32768) as escaped C
// string text without enclosing quotes.
[[nodiscard]] std::string EscapedSelectionText(std::span<const std::uint8_t> selection);

} // namespace dualvex
