// A text-window clock that moves only when the test says so: Advance runs every tick
// that falls due on the way, in time order, with Now() at that tick's time. Input still
// arrives as real events; only the passing of time is the test's.
#pragma once

#include "gui/textwnd/AnsiClock.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace dualvex::test {

class ManualClock final : public AnsiClock {
  public:
    [[nodiscard]] qint64 Now() const override { return m_now; }

    [[nodiscard]] std::unique_ptr<Ticker> MakeTicker(int intervalMs, std::function<void()> onTick) override
    {
        return std::make_unique<ManualTicker>(*this, intervalMs, std::move(onTick));
    }

    void Advance(qint64 ms)
    {
        const qint64 target = m_now + ms;
        while (ManualTicker* next = NextDue(target)) {
            m_now = next->due;
            next->due += next->interval;
            next->onTick(); // may start, stop or make tickers; nothing is held across it
        }
        m_now = target;
    }

  private:
    struct ManualTicker final : Ticker {
        ManualTicker(ManualClock& owner, int intervalMs, std::function<void()> tick)
            : clock(owner), interval(std::max(1, intervalMs)), onTick(std::move(tick))
        {
            clock.m_tickers.push_back(this);
        }
        ~ManualTicker() override { std::erase(clock.m_tickers, this); }
        void Start() override
        {
            running = true;
            due = clock.m_now + interval;
        }
        void Stop() override { running = false; }

        ManualClock& clock;
        qint64 interval;
        std::function<void()> onTick;
        bool running = false;
        qint64 due = 0;
    };

    // The running ticker due first, no later than `limit`; the older one on a tie.
    ManualTicker* NextDue(qint64 limit) const
    {
        ManualTicker* next = nullptr;
        for (ManualTicker* t : m_tickers)
            if (t->running && t->due <= limit && (next == nullptr || t->due < next->due)) next = t;
        return next;
    }

    qint64 m_now = 0;
    std::vector<ManualTicker*> m_tickers;
};

} // namespace dualvex::test
