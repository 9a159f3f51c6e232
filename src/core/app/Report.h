// The modes of the program that need no window: the difference report, its
// summary and the command-line help, written to streams so scripts and CI can
// use them over SSH.
#pragma once

#include <ostream>

#include "core/app/CommandLine.h"

namespace dualvex {

// True when the command line asks for one of the modes below.
bool WantsTextMode(const CommandLine& cl);

// Runs the mode the command line asks for ("--help", else "--summary", else
// "--report"). Returns the exit code: 0 equal (or help), 1 different, 2 trouble.
int RunTextMode(const CommandLine& cl, std::ostream& out, std::ostream& err);

void PrintHelp(std::ostream& out);

} // namespace dualvex
