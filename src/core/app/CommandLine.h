// The program's command line turned into plain options, without touching a window
// or the file system, so start-up and the report mode share one parser.
#pragma once

#include <string>
#include <vector>

namespace dualvex {

enum class SplitOrientation { NotGiven, Horizontal, Vertical };

struct CommandLine {
    // Classic switches and paths.
    std::vector<std::string> files; // at most two paths
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
    std::vector<std::string> errors; // malformed long options, one text each
};

// Parses the arguments after the program name, left to right.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
CommandLine ParseCommandLine(int argc, const char* const* argv);

} // namespace dualvex
