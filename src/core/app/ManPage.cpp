#include "core/app/ManPage.h"

#include "core/app/BuildInfo.h"
#include "core/app/CommandLineHelp.h"
#include "core/app/Report.h"

namespace dualvex {
namespace {

void WriteEntries(std::ostream& out, std::span<const HelpEntry> entries)
{
    for (const HelpEntry& entry : entries) {
        out << ".TP\n.B " << RoffOption(entry.switchText) << '\n' << RoffText(entry.meaning) << '\n';
    }
}

// The help's heading ("Aufrufparameter:") without its colon names the subsection.
std::string SubsectionTitle()
{
    std::string title = CommandLineHelpTitle();
    if (!title.empty() && title.back() == ':') title.pop_back();
    return RoffText(title);
}

void WriteHead(std::ostream& out)
{
    out << ".TH DUALVEX 1 \"\" \"Dualvex " << RoffText(ProgramVersion()) << "\" \"Benutzerbefehle\"\n"
        << ".SH BEZEICHNUNG\n"
        << "dualvex \\- zwei Dateien Byte für Byte vergleichen\n"
        << ".SH ÜBERSICHT\n"
        << ".B dualvex\n"
        << "[\\fISchalter\\fR] \\fIDatei1\\fR \\fIDatei2\\fR\n"
        << ".br\n"
        << ".B dualvex\n"
        << "\\fB\\-\\-report\\fR | \\fB\\-\\-summary\\fR \\fIDatei1\\fR \\fIDatei2\\fR\n"
        << ".SH BESCHREIBUNG\n"
        << "Dualvex lädt zwei Dateien vollständig (roh oder aus Intel-HEX-Text dekodiert), markiert jedes\n"
        << "Byte, in dem sie sich unterscheiden, und zeigt beide nebeneinander in zwei synchron laufenden\n"
        << "HEX-Fenstern mit einer Übersichtsleiste. Ohne Argumente öffnet es den Dialog zur Dateiauswahl.\n"
        << "Die Schalter \\fB\\-\\-report\\fR und \\fB\\-\\-summary\\fR vergleichen ohne Fenster und geben\n"
        << "die unterschiedlichen Bereiche als Text aus.\n";
}

void WriteTail(std::ostream& out)
{
    out << ".SH EXIT-STATUS\n"
        << "Im Textmodus: 0 bei gleichen Dateien, 1 bei Unterschieden, 2 bei einem Fehler.\n"
        << ".SH DATEIEN\n"
        << ".TP\n"
        << ".I ~/.config/dualvex/user.conf\n"
        << "Einstellungen (Fensterlage, Verläufe, Schriften, Farben und Werkzeuge); unter\n"
        << "\\fI$XDG_CONFIG_HOME/dualvex\\fR, wenn diese Variable gesetzt ist.\n";
}

} // namespace

std::string RoffText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    if (text.starts_with('.') || text.starts_with('\'')) out += "\\&";
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else
            out += c;
    }
    return out;
}

std::string RoffOption(std::string_view text)
{
    std::string out;
    for (const char c : RoffText(text)) {
        if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

void WriteManPage(std::ostream& out)
{
    WriteHead(out);
    out << ".SH OPTIONEN\n.SS " << SubsectionTitle() << '\n';
    WriteEntries(out, CommandLineHelp());
    out << ".SS Ohne Fenster\n";
    WriteEntries(out, LongOptionHelp());
    WriteTail(out);
}

} // namespace dualvex
