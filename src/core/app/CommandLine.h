// The program's command line turned into plain options, without touching a window
// or the file system, so start-up and the report mode share one parser.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace dualvex {

enum class SplitOrientation { NotGiven, Horizontal, Vertical };

enum class ReportFormat { Text, Json };

// Most threads a comparison may be given: each costs read buffers and a slot of
// difference bits, and the text modes promise a bounded memory footprint.
constexpr unsigned kMaxThreads = 64;
constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

struct CommandLine {
    // Classic switches and paths.
    std::vector<std::string> files; // at most two paths; a third is an error
    std::string title1;
    std::string title2;
    std::string handOverFile;
    bool handOverMode = false;
    int autoIntelHex = -1; // -1 not given, 1 from "-I"
    bool firstIsHex = false;
    bool secondIsHex = false;
    bool jumpToFirst = false;
    bool showTitles = true;
    SplitOrientation split = SplitOrientation::NotGiven;
    bool noArguments = false; // started without any argument at all

    // Long options of this port ("--..."); the classic parser ignores them.
    bool report = false;
    bool summary = false;
    bool help = false;
    bool version = false;
    std::string screenshot; // --screenshot=FILE
    int width = 0;          // --size=WxH
    int height = 0;
    unsigned threads = 0;                     // --threads=N; 0 means one per online processor
    std::uint64_t limit = kNoLimit;           // --limit=N: at most N range lines
    ReportFormat format = ReportFormat::Text; // --format=text|json
    // Malformed or unknown long options and surplus names, one text each; any
    // of them makes the command line a usage error.
    std::vector<std::string> errors;
};

// Parses the arguments after the program name, left to right. "--" ends the
// options: every argument after it is a name, even one that begins with "-".
CommandLine ParseCommandLine(const std::vector<std::string>& args);
CommandLine ParseCommandLine(int argc, const char* const* argv);

} // namespace dualvex
