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
std::span<const HelpEntry> CommandLineHelp();

} // namespace dualvex
