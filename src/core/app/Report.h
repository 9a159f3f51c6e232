// The modes of the program that need no window: the difference report, its
// summary and the command-line help, written to streams so scripts and CI can
// use them over SSH.
#pragma once

#include <ostream>
#include <span>

#include "core/app/CommandLine.h"
#include "core/app/CommandLineHelp.h"

namespace dualvex {

// True when the command line asks for one of the modes below.
bool WantsTextMode(const CommandLine& cl);

// Runs the mode the command line asks for ("--help", else "--version", else
// "--summary", else "--report"). Returns the exit code: 0 equal (or help or
// version), 1 different, 2 trouble.
int RunTextMode(const CommandLine& cl, std::ostream& out, std::ostream& err);

void PrintHelp(std::ostream& out);
// "dualvex <version> (Commit <id>)".
void PrintVersion(std::ostream& out);
// The long options that "--help" lists after the switches of the window.
std::span<const HelpEntry> TextModeHelp();

} // namespace dualvex
