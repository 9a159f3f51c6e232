// Small helpers the tool dialogs share: control names, the field colours, the
// remembered dialog position and the clipboard.
#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

class QDialog;
class QHBoxLayout;

class QWidget;

namespace dualvex {

// Controls carry their ids as object names "c<id>", so tests and callers find them.
[[nodiscard]] QString ControlName(int id);

// Light red behind a field whose text cannot be read, light yellow behind results.
[[nodiscard]] QColor ErrorFieldColor();
[[nodiscard]] QColor ResultFieldColor();

// Sets the field's own base colour; the rest of its palette follows the application.
void SetFieldBackground(QWidget* field, const QColor& color);
// Back to the application's colours.
void ClearFieldBackground(QWidget* field);
// Light red while invalid, the normal colours otherwise.
void MarkFieldInvalid(QWidget* field, bool invalid);

// Puts text on the clipboard as plain text; returns its length, 0 for an empty text
// (the clipboard then stays as it was).
int CopyToClipboard(const QString& text);

// Where a tool dialog was last closed, for the rest of the run. A dialog goes back
// there only while that top-left corner still lies on the screen well enough to be
// grabbed: x in -99 .. width - 101, y in -9 .. height - 101.
class DialogPosition {
  public:
    [[nodiscard]] static bool Fits(QPoint topLeft, QSize screen);
    // Moves the dialog to the remembered place if there is one and it fits.
    void Restore(QWidget* dialog) const;
    void Remember(const QWidget* dialog);
    [[nodiscard]] std::optional<QPoint> Remembered() const { return m_topLeft; }
    void Forget() { m_topLeft.reset(); }

  private:
    std::optional<QPoint> m_topLeft;
};

// The right-aligned "OK" (default, control 1) and "Abbrechen" (control 2) row that
// accepts or rejects the dialog.
QHBoxLayout* OkCancelRow(QDialog* dialog);

} // namespace dualvex
