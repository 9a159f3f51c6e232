#include "core/app/Report.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "core/app/BuildInfo.h"
#include "core/app/CommandLineHelp.h"
#include "core/app/DiffSet.h"
#include "core/app/FileAccess.h"
#include "core/app/ImageLoad.h"

namespace dualvex {
namespace {

constexpr HelpEntry kTextModes[] = {
    {"--report", "Unterschiede als Text ausgeben (ohne Fenster)"},
    {"--summary", "Nur die Zusammenfassung ausgeben (ohne Fenster)"},
    {"--help", "Diese Hilfe ausgeben"},
    {"--version", "Version und Commit des Programms ausgeben"},
};

constexpr int kExitEqual = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

void PrintHelpLine(std::ostream& out, const char* option, const char* meaning)
{
    std::string text = option;
    text.resize(std::max<std::size_t>(text.size() + 2, 14), ' ');
    out << "  " << text << meaning << '\n';
}

void PrintHeader(std::ostream& out, const CommandLine& cl, const LoadResult& loaded, const DiffCounts& counts)
{
    out << "file1: " << cl.files[0] << ' ' << loaded.first.Length() << " bytes\n";
    out << "file2: " << cl.files[1] << ' ' << loaded.second.Length() << " bytes\n";
    out << "ranges: " << counts.rangeCount << " differing: " << counts.differing << '\n';
}

// One line per range, gathered into a buffer so that millions of ranges do not
// cost one stream call each.
void PrintRanges(std::ostream& out, const DiffSet& set)
{
    const std::uint8_t* bits = set.Bits();
    const ImageLength n = set.BitCount();
    std::string chunk;
    chunk.reserve(1 << 16);
    char line[64];
    for (ImageLength start = FindNextSet(bits, n, 0); start < n;) {
        const ImageLength end = FindNextClear(bits, n, start);
        const int len = std::snprintf(line, sizeof line, "0x%08X 0x%08X %u\n", start, end, end - start);
        chunk.append(line, static_cast<std::size_t>(len));
        if (chunk.size() > (1 << 16) - 64) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
        start = FindNextSet(bits, n, end);
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

// Both paths are checked before anything is loaded, so two missing files give
// two messages, as at start-up.
bool CheckPaths(const CommandLine& cl, std::ostream& err)
{
    bool ok = true;
    for (const std::string& path : cl.files) {
        if (GetFileKind(path) == FileKind::Regular) continue;
        err << LoadErrorMessage(LoadStatus::NotComparable, path) << '\n';
        ok = false;
    }
    return ok;
}

int RunComparison(const CommandLine& cl, std::ostream& out, std::ostream& err)
{
    if (cl.files.size() < 2) {
        err << "Aufruf: dualvex " << (cl.summary ? "--summary" : "--report")
            << " [-I|-I1|-I2] <file1> <file2>\n";
        return kExitTrouble;
    }
    if (!CheckPaths(cl, err)) return kExitTrouble;
    // As at start-up, files with a listed extension are decoded without a question.
    LoadFlags flags;
    flags.hexAutoOnce = cl.autoIntelHex;
    flags.firstIsHex = cl.firstIsHex ? 1 : 0;
    flags.secondIsHex = cl.secondIsHex ? 1 : 0;
    const LoadResult loaded = LoadImages(cl.files[0], cl.files[1], flags, {});
    if (loaded.failed != 0) {
        err << LoadErrorMessage(loaded.status, cl.files[loaded.failed - 1]) << '\n';
        return kExitTrouble;
    }
    if (cl.summary) {
        const DiffCounts counts = CountDifferences(loaded.first.Data(), loaded.first.Length(),
                                                   loaded.second.Data(), loaded.second.Length());
        PrintHeader(out, cl, loaded, counts);
        return counts.rangeCount == 0 ? kExitEqual : kExitDifferent;
    }
    DiffSet set;
    if (!set.Compare(loaded.first, loaded.second)) {
        err << "Nicht genug Speicher für den Vergleich !\n";
        return kExitTrouble;
    }
    PrintHeader(out, cl, loaded, {set.Summary().rangeCount, set.Summary().differing});
    PrintRanges(out, set);
    return set.Summary().rangeCount == 0 ? kExitEqual : kExitDifferent;
}

} // namespace

bool WantsTextMode(const CommandLine& cl)
{
    return cl.help || cl.version || cl.report || cl.summary;
}

std::span<const HelpEntry> TextModeHelp()
{
    return kTextModes;
}

void PrintVersion(std::ostream& out)
{
    out << "dualvex " << ProgramVersion() << " (Commit " << BuildCommit() << ")\n";
}

void PrintHelp(std::ostream& out)
{
    out << CommandLineHelpTitle() << '\n';
    for (const HelpEntry& entry : CommandLineHelp()) PrintHelpLine(out, entry.switchText, entry.meaning);
    out << '\n';
    for (const HelpEntry& line : kTextModes) PrintHelpLine(out, line.switchText, line.meaning);
}

int RunTextMode(const CommandLine& cl, std::ostream& out, std::ostream& err)
{
    if (cl.help) {
        PrintHelp(out);
        return kExitEqual;
    }
    if (cl.version) {
        PrintVersion(out);
        return kExitEqual;
    }
    for (const std::string& e : cl.errors) err << e << '\n';
    if (!cl.errors.empty()) return kExitTrouble;
    const int code = RunComparison(cl, out, err);
    out.flush();
    return code;
}

} // namespace dualvex
