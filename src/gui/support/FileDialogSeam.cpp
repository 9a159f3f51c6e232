#include "gui/support/FileDialogSeam.h"

#include <QFileDialog>

#include <utility>

namespace dualvex {

namespace {
FileDialogSeam::Handler& InstalledHandler()
{
    static FileDialogSeam::Handler handler;
    return handler;
}
} // namespace

QString FileDialogSeam::GetOpenFileName(QWidget* parent, const QString& initialPath)
{
    if (const auto& handler = InstalledHandler()) return handler(parent, initialPath);
    QFileDialog dialog(parent, QString(), initialPath, QStringLiteral("Alle Dateien (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!initialPath.isEmpty()) dialog.selectFile(initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void FileDialogSeam::SetHandler(Handler handler)
{
    InstalledHandler() = std::move(handler);
}

} // namespace dualvex
