// The text form of a settings file.
//
//   [Software\Ql\Dualvex\Hex\Colors\0]
//   Name=text:"Bit-Marke"
//   BG=dword:0x00ff8080
//   @=text:"the key's unnamed default value"
//   File1=list:"C:\\a.bin","b.hex"
//   Font=hex:f4 ff ff ff 00 00
//   Odd=hex(11):01 02
//
// Names are percent-encoded (%XX, upper case) for blanks, controls, bytes from 0x7F up and the
// characters % = [ ] " # ; @ \. Quoted texts escape \\ \" \n \r \t and \xHH; bytes
// that do not form valid UTF-8 are written as \xHH, so every value reads back byte
// for byte. A value whose bytes do not fit its kind's short form (a list that is not
// a run of non-empty texts, an integer that is not 4 bytes long) is written as
// hex(<type>). Lines starting with "#" or ";" are comments; blanks around lines,
// names and tokens are ignored.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/support/SettingsTree.h"

namespace dualvex {

struct SettingsParseError {
    std::size_t line = 0; // 1-based
    std::string message;
};

// Fills tree from text; returns false (tree then undefined) when the text is not a
// settings file, with the first offending line in *error when given.
[[nodiscard]] bool ParseSettingsText(std::string_view text, SettingsTree& tree,
                                     SettingsParseError* error = nullptr);
std::string FormatSettingsText(const SettingsTree& tree);

} // namespace dualvex
