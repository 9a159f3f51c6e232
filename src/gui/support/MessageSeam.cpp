#include "gui/support/MessageSeam.h"

#include <utility>

namespace dualvex {

namespace {
MessageSeam::Handler& InstalledHandler()
{
    static MessageSeam::Handler handler;
    return handler;
}
} // namespace

QMessageBox::StandardButton MessageSeam::Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                             const QString& text, QMessageBox::StandardButtons buttons)
{
    if (const auto& handler = InstalledHandler()) return handler(parent, icon, caption, text, buttons);
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageSeam::About(QWidget* parent, const QString& caption, const QString& text)
{
    if (const auto& handler = InstalledHandler()) {
        handler(parent, QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
        return;
    }
    QMessageBox::about(parent, caption, text);
}

void MessageSeam::SetHandler(Handler handler)
{
    InstalledHandler() = std::move(handler);
}

} // namespace dualvex
