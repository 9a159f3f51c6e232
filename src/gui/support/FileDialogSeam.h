// The system's file-open dialog, behind a seam that tests can answer.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace dualvex {

class FileDialogSeam {
  public:
    // Returns the chosen existing file, or an empty text on Cancel.
    using Handler = std::function<QString(QWidget* parent, const QString& initialPath)>;

    static QString GetOpenFileName(QWidget* parent, const QString& initialPath);
    // Installs a handler that replaces the real dialog; an empty handler restores it.
    static void SetHandler(Handler handler);
};

} // namespace dualvex
