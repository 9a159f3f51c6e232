// "Zahlen umwandeln": evaluates the expression while it is typed and shows it in five
// notations. The evaluation is the core calculator's; the dialog moves texts, keeps
// the history "CalculatorLast" and re-reads the input on a 150 ms tick for list
// choices that raised no notification.
#pragma once

#include "gui/textwnd/AnsiClock.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <memory>

class QComboBox;
class QGridLayout;
class QLineEdit;

namespace dualvex {

class CalculatorDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 150;

    // clock: the time source of the refresh tick (the program's own when null); it
    // must outlive the dialog.
    explicit CalculatorDialog(std::uint32_t initialValue, QWidget* parent = nullptr,
                              AnsiClock* clock = nullptr);
    ~CalculatorDialog() override;

    [[nodiscard]] std::int32_t Value() const { return m_value; }
    [[nodiscard]] bool Valid() const { return m_valid; }

    void done(int result) override;

  private:
    QLineEdit* AddOutput(QGridLayout* grid, int row, int id, const char* label);
    void Evaluate();
    void Tick();

    std::unique_ptr<AnsiClock> m_ownClock;
    std::unique_ptr<AnsiClock::Ticker> m_ticker;
    QComboBox* m_input = nullptr;
    std::array<QLineEdit*, 5> m_outputs{};
    int m_lastIndex = -1;
    std::int32_t m_value = 0;
    bool m_valid = false;
};

} // namespace dualvex
