// "Zahlen eingabe": asks for a number with its byte count and byte order, and in its
// format variant also for a copy format, with a preview of the first output line that
// follows the input three ticks of 200 ms after the last change. The caller reads
// the bytes to insert (OutputBytes) or the chosen options after OK.
#pragma once

#include "core/tools/NumberInputModel.h"
#include "gui/textwnd/AnsiClock.h"

#include <QDialog>

#include <array>
#include <memory>

class QButtonGroup;
class QGridLayout;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace dualvex {

class NumberInputDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPreviewMs = 200;

    // clock: the time source of the preview tick (the program's own when null); it
    // must outlive the dialog.
    explicit NumberInputDialog(NumberInputParams params, QWidget* parent = nullptr,
                               AnsiClock* clock = nullptr);
    ~NumberInputDialog() override;

    // Valid after OK.
    [[nodiscard]] const NumberInputModel& Model() const { return m_model; }
    [[nodiscard]] std::vector<std::uint8_t> OutputBytes() const { return m_model.OutputBytes(); }

    void accept() override;
    void done(int result) override;

  private:
    void BuildByteCount(QGridLayout* grid);
    void BuildFormat(QGridLayout* grid);
    [[nodiscard]] int ByteCountButton() const;
    [[nodiscard]] int FormatButton() const;
    void ShowCaptions();
    void NoteChange();
    void Tick();

    NumberInputModel m_model;
    std::unique_ptr<AnsiClock> m_ownClock;
    std::unique_ptr<AnsiClock::Ticker> m_ticker;
    QLineEdit* m_number = nullptr;
    std::array<QRadioButton*, 4> m_byteCount{};
    std::array<QRadioButton*, 4> m_format{};
    QCheckBox* m_bigEndian = nullptr;
    QLineEdit* m_preview = nullptr;
};

} // namespace dualvex
