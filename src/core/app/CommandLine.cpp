#include "core/app/CommandLine.h"

#include <charconv>
#include <string>
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

// A whole decimal number from min to max, nothing else.
template <typename T> bool ParseCount(std::string_view text, T min, T max, T& value)
{
    T v = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end || v < min || v > max) return false;
    value = v;
    return true;
}

void ParseFormat(std::string_view arg, CommandLine& cl)
{
    const std::string_view name = arg.substr(9);
    if (name == "text")
        cl.format = ReportFormat::Text;
    else if (name == "json")
        cl.format = ReportFormat::Json;
    else
        cl.errors.emplace_back("Unbekanntes Ausgabeformat: " + std::string(arg) +
                               " (erwartet text oder json)");
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
    } else if (arg.starts_with("--threads=")) {
        if (!ParseCount(arg.substr(10), 1u, kMaxThreads, cl.threads))
            cl.errors.emplace_back("Ungültige Anzahl Threads: " + std::string(arg) + " (erwartet 1 bis " +
                                   std::to_string(kMaxThreads) + ")");
    } else if (arg.starts_with("--limit=")) {
        if (!ParseCount<std::uint64_t>(arg.substr(8), 0, kNoLimit, cl.limit))
            cl.errors.emplace_back("Ungültige Grenze: " + std::string(arg) + " (erwartet eine Zahl)");
    } else if (arg.starts_with("--format=")) {
        ParseFormat(arg, cl);
    } else {
        // A misspelt option must not quietly start the window instead of a report.
        cl.errors.emplace_back("Unbekannte Option: " + std::string(arg));
    }
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
    bool optionsEnded = false;
    for (const std::string& a : args) {
        const std::string_view arg = a;
        // On this platform "/" begins absolute paths, so only "-" introduces a switch.
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.starts_with("--")) {
            ParseLongOption(arg, cl);
        } else if (!optionsEnded && arg.starts_with('-')) {
            ParseSwitch(arg, cl, handOverPending);
        } else if (handOverPending) {
            cl.handOverFile = a;
            handOverPending = false;
        } else if (cl.files.size() < 2) {
            cl.files.push_back(a);
        } else {
            cl.errors.emplace_back("Zu viele Dateinamen: " + a);
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
