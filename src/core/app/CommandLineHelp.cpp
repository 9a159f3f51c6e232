#include "core/app/CommandLineHelp.h"

#include <array>

namespace dualvex {

namespace {
constexpr std::array<HelpEntry, 12> kEntries = {{
    {"-I", "Automatisch auf Intel-Hex-Format prüfen"},
    {"-I1", "Erste Datei im Intel-Hex-Format laden"},
    {"-I2", "Zweite Datei im Intel-Hex-Format laden"},
    {"-J", "Zum ersten Unterschied springen"},
    {"-N", "Keine Titelzeilen anzeigen"},
    {"-H", "Horizontale Teilung"},
    {"-V", "Vertikale Teilung"},
    {"-0:<file>", "Datei an Öffnendialog senden"},
    {"-1:<text>", "Titel für die erste Datei"},
    {"-2:<text>", "Titel für die zweite Datei"},
    {"<file1>", "Pfad für die erste Datei"},
    {"<file2>", "Pfad für die zweite Datei"},
}};

constexpr std::array<HelpEntry, 10> kLongOptions = {{
    {"--report", "Unterschiede als Text ausgeben (ohne Fenster)"},
    {"--summary", "Nur die Zusammenfassung ausgeben (ohne Fenster)"},
    {"--limit=N", "Mit --report höchstens N Bereichszeilen ausgeben (die Zusammenfassung zählt alle)"},
    {"--format=json", "Mit --report: Kopf und Bereiche als je ein JSON-Objekt pro Zeile"},
    {"--threads=N", "Mit N Threads vergleichen (Vorgabe: einer je Prozessor)"},
    {"--screenshot=<png>", "Fenster ohne Anzeige in eine PNG-Datei zeichnen und beenden"},
    {"--size=BxH", "Fenstergröße für --screenshot, z. B. 1280x800"},
    {"--help", "Diese Hilfe ausgeben"},
    {"--version", "Version und Commit des Programms ausgeben"},
    {"--", "Ende der Optionen: alles Weitere sind Dateinamen"},
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

std::span<const HelpEntry> LongOptionHelp()
{
    return kLongOptions;
}

const char* UsageLine()
{
    return "Aufruf: dualvex [Optionen] <file1> <file2>   (dualvex --help zeigt alle Optionen)";
}

} // namespace dualvex
