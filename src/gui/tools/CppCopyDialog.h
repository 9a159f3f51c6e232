// "Kopiere im C++ Format": the number input dialog in its format variant with a
// preview, asking for the line size ("Spaltenbreite"), value size, format and byte
// order of the copy as source text. Its options live under "CppCopyDlg"; OK writes
// them back and makes the text, which the caller puts on the clipboard.
#pragma once

#include "gui/tools/NumberInputDialog.h"

#include <QString>

#include <cstdint>
#include <span>

namespace dualvex {

// The stored options, defaults first.
struct CppCopySettings {
    int lineSize = 16;
    int valueSize = 1;
    int format = 0;
    bool hexLineSize = false; // stored as "BigEndian": the line size shown as "0x" hexadecimal
};
[[nodiscard]] CppCopySettings LoadCppCopySettings();
void SaveCppCopySettings(const CppCopySettings& settings);

class CppCopyDialog : public NumberInputDialog {
    Q_OBJECT
  public:
    // selection must outlive the dialog; at most its first 32768 bytes are used.
    explicit CppCopyDialog(std::span<const std::uint8_t> selection, QWidget* parent = nullptr,
                           AnsiClock* clock = nullptr);

    // The text for the clipboard, after OK.
    [[nodiscard]] const QString& Text() const { return m_text; }

    void accept() override;

  private:
    std::span<const std::uint8_t> m_selection;
    QString m_text;
};

// Command 35083: the selection as escaped C string text on the clipboard; returns the
// length copied (0 for an empty selection, which leaves the clipboard alone).
int CopyEscapedSelection(std::span<const std::uint8_t> selection);

} // namespace dualvex
