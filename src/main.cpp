// The dualvex program: the text modes (--report, --summary, --help) run without a
// window or display; everything else starts the windowed comparison.
#include "core/app/CommandLine.h"
#include "core/app/Report.h"
#include "gui/app/CDualvexApp.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    dualvex::CommandLine commandLine = dualvex::ParseCommandLine(argc, argv);
    if (dualvex::WantsTextMode(commandLine)) {
        std::ios::sync_with_stdio(false);
        return dualvex::RunTextMode(commandLine, std::cout, std::cerr);
    }
    if (!commandLine.errors.empty()) {
        for (const std::string& error : commandLine.errors) std::cerr << error << '\n';
        return 2;
    }
    // A screenshot is rendered offscreen: it needs no display.
    if (!commandLine.screenshot.empty()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dualvex"));
    dualvex::CDualvexApp dualvexApp(std::move(commandLine));
    if (!dualvexApp.Start()) return dualvexApp.ExitCode();
    return dualvexApp.Exec();
}
