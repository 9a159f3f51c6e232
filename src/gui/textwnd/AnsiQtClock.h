// The text window's clock in the program: Qt's monotonic clock and Qt timers on the
// UI thread's event loop.
#pragma once

#include "gui/textwnd/AnsiClock.h"

#include <QElapsedTimer>

namespace dualvex {

class AnsiQtClock final : public AnsiClock {
  public:
    AnsiQtClock();
    [[nodiscard]] qint64 Now() const override;
    [[nodiscard]] std::unique_ptr<Ticker> MakeTicker(int intervalMs, std::function<void()> onTick) override;

  private:
    QElapsedTimer m_elapsed;
};

} // namespace dualvex
