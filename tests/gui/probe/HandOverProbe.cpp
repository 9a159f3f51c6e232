// Runs the program's real start-up, hand-over included, and prints what it would
// compare instead of showing the window: the race tests start many of these at once.
// Prints "paired <first>|<second>" and exits 0, or prints "gave way" and exits 3 when
// its hand-over dialog was closed by a partner; other codes are failures.
#include "core/app/CommandLine.h"
#include "gui/app/CDualvexApp.h"
#include "gui/app/CDualvexView.h"

#include <QApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    dualvex::CDualvexApp dualvexApp(dualvex::ParseCommandLine(argc, argv));
    if (!dualvexApp.Start()) {
        std::cout << "gave way" << std::endl;
        return dualvexApp.ExitCode() == 0 ? 3 : dualvexApp.ExitCode();
    }
    std::cout << "paired " << dualvexApp.View()->LastPath(0).toStdString() << '|'
              << dualvexApp.View()->LastPath(1).toStdString() << std::endl;
    return 0;
}
