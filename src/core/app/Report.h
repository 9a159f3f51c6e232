// The modes of the program that need no window: the difference report, its
// summary and the command-line help, written to a checked output so scripts
// and CI can use them over SSH. Files of any length are compared in streamed
// parts on every core, in constant memory.
#pragma once

#include <ostream>
#include <span>

#include "core/app/CommandLine.h"
#include "core/app/TextSink.h"

namespace dualvex {

// True when the command line asks for one of the modes below.
bool WantsTextMode(const CommandLine& cl);

// Runs the mode the command line asks for ("--help", else "--version", else
// "--summary", else "--report"). Every message goes to err; nothing waits for a person. Progress
// is shown on err only when errIsTerminal. Returns the exit code: 0 equal (or
// help), 1 different, 2 trouble (also when the output cannot be written).
int RunTextMode(const CommandLine& cl, TextSink& out, std::ostream& err, bool errIsTerminal = false);

void PrintHelp(TextSink& out);
// "dualvex <version> (Commit <id>)".
void PrintVersion(TextSink& out);

// The errors of a command line and the usage line, for every mode.
void PrintUsageErrors(const CommandLine& cl, std::ostream& err);

} // namespace dualvex
