#include <QApplication>
#include <QLabel>

#include <iostream>

#include "app/CommandLine.h"
#include "app/Report.h"

int main(int argc, char** argv)
{
    // The text modes run before any Qt object exists, so they need no display.
    const dualvex::CommandLine cl = dualvex::ParseCommandLine(argc, argv);
    if (dualvex::WantsTextMode(cl)) {
        std::ios::sync_with_stdio(false);
        return dualvex::RunTextMode(cl, std::cout, std::cerr);
    }
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Dualvex"));
    label.show();
    return app.exec();
}
