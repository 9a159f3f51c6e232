#include "core/app/CommandLine.h"

#include <charconv>
#include <string_view>

namespace dualvex {
namespace {

bool ParseSize(std::string_view text, int& width, int& height)
{
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    int w = 0;
    int h = 0;
    const char* wEnd = text.data() + x;
    const char* end = text.data() + text.size();
    const auto rw = std::from_chars(text.data(), wEnd, w);
    const auto rh = std::from_chars(wEnd + 1, end, h);
    if (rw.ec != std::errc() || rw.ptr != wEnd || rh.ec != std::errc() || rh.ptr != end) return false;
    if (w <= 0 || h <= 0) return false;
    width = w;
    height = h;
    return true;
}

void ParseLongOption(std::string_view arg, CommandLine& cl)
{
    if (arg == "--report") {
        cl.report = true;
    } else if (arg == "--summary") {
        cl.summary = true;
    } else if (arg == "--help") {
        cl.help = true;
    } else if (arg == "--version") {
        cl.version = true;
    } else if (arg.starts_with("--screenshot=")) {
        cl.screenshot = arg.substr(13);
        if (cl.screenshot.empty()) cl.errors.emplace_back("--screenshot= braucht einen Dateinamen");
    } else if (arg.starts_with("--size=")) {
        if (!ParseSize(arg.substr(7), cl.width, cl.height))
            cl.errors.emplace_back("Ungültige Fenstergröße: " + std::string(arg) +
                                   " (erwartet --size=BREITExHÖHE)");
    }
    // Other long options are ignored like every unknown switch.
}

// The classic switches: only the second character decides, the rest is read
// only where a switch carries text ("-0:", "-1:", "-2:") or a digit ("-I1").
void ParseSwitch(std::string_view arg, CommandLine& cl, bool& handOverPending)
{
    const char kind = arg.size() > 1 ? arg[1] : '\0';
    const char third = arg.size() > 2 ? arg[2] : '\0';
    switch (kind) {
    case 'I':
    case 'i':
        if (third == '\0')
            cl.autoIntelHex = 1;
        else if (third == '1')
            cl.firstIsHex = true;
        else if (third == '2')
            cl.secondIsHex = true;
        break;
    case 'N':
    case 'n': cl.showTitles = false; break;
    case 'J':
    case 'j': cl.jumpToFirst = true; break;
    case 'H':
    case 'h': cl.split = SplitOrientation::Horizontal; break;
    case 'V':
    case 'v': cl.split = SplitOrientation::Vertical; break;
    case '0':
        if (third == '\0') {
            cl.handOverMode = true;
            handOverPending = true;
        } else if (third == ':') {
            cl.handOverMode = true;
            cl.handOverFile = arg.substr(3);
        }
        break;
    case '1':
        if (third == ':') cl.title1 = arg.substr(3);
        break;
    case '2':
        if (third == ':') cl.title2 = arg.substr(3);
        break;
    default: break;
    }
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine cl;
    cl.noArguments = args.empty();
    bool handOverPending = false;
    for (const std::string& a : args) {
        const std::string_view arg = a;
        // On this platform "/" begins absolute paths, so only "-" introduces a switch.
        if (arg.starts_with("--")) {
            ParseLongOption(arg, cl);
        } else if (arg.starts_with('-')) {
            ParseSwitch(arg, cl, handOverPending);
        } else if (handOverPending) {
            cl.handOverFile = a;
            handOverPending = false;
        } else if (cl.files.size() < 2) {
            cl.files.push_back(a);
        }
    }
    return cl;
}

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return ParseCommandLine(args);
}

} // namespace dualvex
