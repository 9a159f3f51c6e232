// The "Hilfe" box that lists the command-line switches.
#pragma once

#include <QDialog>

namespace dualvex {

class CHelpDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CHelpDialog(QWidget* parent = nullptr);
};

} // namespace dualvex
