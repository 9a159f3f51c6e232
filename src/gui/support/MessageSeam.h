// Every message box and question of the program goes through this seam, so tests
// can answer them in advance instead of waiting for a human.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace dualvex {

class MessageSeam {
  public:
    using Handler = std::function<QMessageBox::StandardButton(QWidget* parent, QMessageBox::Icon icon,
                                                              const QString& caption, const QString& text,
                                                              QMessageBox::StandardButtons buttons)>;

    // Shows the box (or asks the installed handler) and returns the button chosen.
    static QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok);
    // The about box: it shows the program's window icon beside the text. A handler
    // sees it as a box without icon.
    static void About(QWidget* parent, const QString& caption, const QString& text);
    // Installs a handler that replaces the real box; an empty handler restores it.
    static void SetHandler(Handler handler);
};

} // namespace dualvex
