// The passing of time as the text window sees it: the current time for the
// double-click guard, and repeating tickers for drag scrolling, long presses and
// automatic scrolling. The program runs them on Qt's timers; a test drives its own
// clock, so what the test sees does not depend on the machine's load.
#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

namespace dualvex {

class AnsiClock {
  public:
    // Calls its function every interval while started; starting again restarts the interval.
    class Ticker {
      public:
        Ticker() = default;
        virtual ~Ticker() = default;
        Ticker(const Ticker&) = delete;
        Ticker& operator=(const Ticker&) = delete;
        virtual void Start() = 0;
        virtual void Stop() = 0;
    };

    AnsiClock() = default;
    virtual ~AnsiClock() = default;
    AnsiClock(const AnsiClock&) = delete;
    AnsiClock& operator=(const AnsiClock&) = delete;

    // Milliseconds since the clock was made; never goes back.
    [[nodiscard]] virtual qint64 Now() const = 0;
    // A stopped ticker of this clock; it must not outlive the clock.
    [[nodiscard]] virtual std::unique_ptr<Ticker> MakeTicker(int intervalMs,
                                                             std::function<void()> onTick) = 0;
};

} // namespace dualvex
