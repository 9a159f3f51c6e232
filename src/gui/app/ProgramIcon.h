// The program's own icon, drawn from the SVG that is also installed into the icon
// theme, at the sizes window managers and task bars ask for.
#pragma once

#include <QIcon>

namespace dualvex {

// Never null: the picture is compiled into the program.
QIcon ProgramIcon();

} // namespace dualvex
