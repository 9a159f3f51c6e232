#include "core/app/CommandLineHelp.h"

#include <array>

namespace dualvex {

namespace {
constexpr std::array<HelpEntry, 11> kEntries = {{
    {"-I", "Automatisch auf Intel-Hex-Format prüfen"},
    {"-I1", "Erste Datei im Intel-Hex-Format laden"},
    {"-I2", "Zweite Datei im Intel-Hex-Format laden"},
    {"-J", "Zum ersten Unterschied springen"},
    {"-H", "Horizontale Teilung"},
    {"-V", "Vertikale Teilung"},
    {"-0:<file>", "Datei an Öffnendialog senden"},
    {"-1:<text>", "Titel für die erste Datei"},
    {"-2:<text>", "Titel für die zweite Datei"},
    {"<file1>", "Pfad für die erste Datei"},
    {"<file2>", "Pfad für die zweite Datei"},
}};
} // namespace

const char* CommandLineHelpTitle()
{
    return "Aufrufparameter:";
}

std::span<const HelpEntry> CommandLineHelp()
{
    return kEntries;
}

} // namespace dualvex
