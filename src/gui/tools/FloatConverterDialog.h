// "Flieskommakonverter": up to eight bytes as a double and, from their first four, as
// a float, with mantissa, exponent and hex dump; editing any field rewrites the
// others through the core converter. The dialog only shows: it writes nothing back.
#pragma once

#include "core/tools/FloatConverter.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QGridLayout;
class QLineEdit;

namespace dualvex {

class FloatConverterDialog : public QDialog {
    Q_OBJECT
  public:
    // bytes: up to 8 bytes from the data (count 0..8); the missing ones are zero.
    FloatConverterDialog(const std::uint8_t* bytes, int count, QWidget* parent = nullptr);
    ~FloatConverterDialog() override;

    [[nodiscard]] const FloatConverter& Converter() const { return m_converter; }

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildFields(QGridLayout* grid);
    void BuildButtons(QGridLayout* grid);
    void FieldEdited(int field);
    void Show(const FloatFieldTexts& texts);
    void SetText(int field, const QString& text);
    void ShowValidity();

    FloatConverter m_converter;
    std::array<QLineEdit*, kFloatFieldCount> m_fields{};
    // Set while the dialog writes its own fields, whose change notifications then
    // must not count as edits.
    bool m_updating = false;
};

} // namespace dualvex
