// A dark desktop palette, for checking that views stay legible on dark themes.
#pragma once

#include <QColor>
#include <QPalette>

namespace dualvex::test {

inline QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
    dark.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::Text, QColor(0xE8, 0xE8, 0xE8));
    dark.setColor(QPalette::Button, QColor(0x3A, 0x3A, 0x3A));
    dark.setColor(QPalette::ButtonText, QColor(0xE0, 0xE0, 0xE0));
    return dark;
}

} // namespace dualvex::test
