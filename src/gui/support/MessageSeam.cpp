#include "gui/support/MessageSeam.h"

#include <utility>

namespace dualvex {

namespace {

// The messages end in " !" or " ?"; a non-breaking space keeps the mark on the
// line of the word before it when the box wraps the text.
QString KeepMarksWithTheirWord(QString text)
{
    text.replace(QStringLiteral(" !"), QStringLiteral("\u00A0!"));
    text.replace(QStringLiteral(" ?"), QStringLiteral("\u00A0?"));
    return text;
}

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
    QMessageBox box(icon, caption, KeepMarksWithTheirWord(text), buttons, parent);
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
