#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/app/BuildInfo.h"
#include "core/app/CommandLineHelp.h"
#include "core/app/ManPage.h"
#include "core/app/Report.h"

namespace dualvex {
namespace {

std::string Page()
{
    std::ostringstream out;
    WriteManPage(out);
    return out.str();
}

TEST(ManPage, RoffEscaping)
{
    struct Case {
        const char* text;
        const char* asText;
        const char* asOption;
    };
    const Case cases[] = {
        {"", "", ""},
        {"plain words", "plain words", "plain words"},
        {"Intel-Hex-Format", "Intel-Hex-Format", "Intel\\-Hex\\-Format"},
        {"--report", "--report", "\\-\\-report"},
        // A leading dot or quote would make the line a roff request.
        {".hidden", "\\&.hidden", "\\&.hidden"},
        {"'quoted", "\\&'quoted", "\\&'quoted"},
        {"mid.dot 'x'", "mid.dot 'x'", "mid.dot 'x'"},
        // A backslash would start an escape sequence.
        {"C:\\pfad", "C:\\epfad", "C:\\epfad"},
        {"\\-", "\\e-", "\\e\\-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RoffText(c.text), c.asText);
        EXPECT_EQ(RoffOption(c.text), c.asOption);
    }
}

TEST(ManPage, ListsEverySwitchOfTheHelpWithItsMeaning)
{
    const std::string page = Page();
    EXPECT_NE(page.find(".TP\n.B \\-I1\nErste Datei im Intel-Hex-Format laden\n"), std::string::npos);
    EXPECT_NE(page.find(".TP\n.B \\-0:<file>\nDatei an Öffnendialog senden\n"), std::string::npos);
    EXPECT_NE(page.find(".TP\n.B \\-\\-version\n"), std::string::npos);
    EXPECT_NE(page.find(".SS Aufrufparameter\n"), std::string::npos);
    for (const auto& table : {CommandLineHelp(), LongOptionHelp()}) {
        for (const HelpEntry& entry : table) {
            SCOPED_TRACE(entry.switchText);
            const std::string item =
                ".B " + RoffOption(entry.switchText) + "\n" + RoffText(entry.meaning) + "\n";
            EXPECT_NE(page.find(item), std::string::npos);
        }
    }
}

TEST(ManPage, HeaderCarriesTheVersionAndEveryRequestIsKnown)
{
    const std::string page = Page();
    EXPECT_EQ(page.rfind(".TH DUALVEX 1 \"\" \"Dualvex " + std::string(ProgramVersion()) + "\"", 0), 0u);
    // The name section is what whatis and apropos index: "name \- summary".
    EXPECT_NE(page.find(".SH BEZEICHNUNG\ndualvex \\- "), std::string::npos);
    std::istringstream lines(page);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        SCOPED_TRACE(number);
        if (line.empty() || (line[0] != '.' && line[0] != '\'')) continue;
        const std::string request = line.substr(0, line.find(' '));
        EXPECT_TRUE(request == ".TH" || request == ".SH" || request == ".SS" || request == ".TP" ||
                    request == ".B" || request == ".I" || request == ".br")
            << line;
    }
}

} // namespace
} // namespace dualvex
