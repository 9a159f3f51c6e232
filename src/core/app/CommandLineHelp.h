// The switches of the command line and what they do, as the help box and
// "--help" show them.
#pragma once

#include <span>

namespace dualvex {

struct HelpEntry {
    const char* switchText; // UTF-8
    const char* meaning;    // UTF-8
};

// Heading line of the help.
const char* CommandLineHelpTitle();
// The classic switches, as the help box shows them.
std::span<const HelpEntry> CommandLineHelp();
// The long options of the text modes and the screenshot, for "--help".
std::span<const HelpEntry> LongOptionHelp();
// The line shown after a usage error.
const char* UsageLine();

} // namespace dualvex
