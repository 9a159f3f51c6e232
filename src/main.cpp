// The dualvex program: the text modes (--report, --summary, --help) run without a
// window or display; everything else starts the windowed comparison.
#include "core/app/CommandLine.h"
#include "core/app/Report.h"
#include "core/app/TextSink.h"
#include "gui/app/CDualvexApp.h"
#include "gui/support/QtTranslations.h"

#include <QApplication>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include <unistd.h>

int main(int argc, char** argv)
{
    dualvex::CommandLine commandLine = dualvex::ParseCommandLine(argc, argv);
    if (dualvex::WantsTextMode(commandLine)) {
        // Like every filter, a report piped into "head" ends quietly when the
        // reader goes, even if our parent ignored the signal.
        std::signal(SIGPIPE, SIG_DFL);
        dualvex::FdSink out(STDOUT_FILENO);
        return dualvex::RunTextMode(commandLine, out, std::cerr, isatty(STDERR_FILENO) == 1);
    }
    if (!commandLine.errors.empty()) {
        dualvex::PrintUsageErrors(commandLine, std::cerr);
        return 2;
    }
    // A screenshot is rendered offscreen: it needs no display.
    if (!commandLine.screenshot.empty()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dualvex"));
    dualvex::InstallQtTranslations(app);
    // Wayland desktops find the menu entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(DUALVEX_APP_ID));
    dualvex::CDualvexApp dualvexApp(std::move(commandLine));
    if (!dualvexApp.Start()) return dualvexApp.ExitCode();
    return dualvexApp.Exec();
}
