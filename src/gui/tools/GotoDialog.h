// "Cursor setzen": asks for an address as an expression, offering the pane's own
// history of typed addresses. The caller owns the history (one per pane, kept for
// the run) and moves the cursor to Address() after OK.
#pragma once

#include "core/tools/TextList.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QComboBox;

namespace dualvex {

class GotoDialog : public QDialog {
    Q_OBJECT
  public:
    // history must outlive the dialog; OK puts the typed text in front of it.
    GotoDialog(const QString& initialText, TextList& history, QWidget* parent = nullptr);

    // Valid after OK.
    [[nodiscard]] std::uint32_t Address() const { return m_address; }

    // A text that names no address keeps the dialog open with the field marked.
    void accept() override;

  private:
    TextList& m_history;
    QComboBox* m_value = nullptr;
    std::uint32_t m_address = 0;
};

} // namespace dualvex
