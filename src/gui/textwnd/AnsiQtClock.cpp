#include "gui/textwnd/AnsiQtClock.h"

#include <QTimer>

namespace dualvex {

namespace {

class QtTicker final : public AnsiClock::Ticker {
  public:
    QtTicker(int intervalMs, std::function<void()> onTick)
    {
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(onTick));
    }
    void Start() override { m_timer.start(); }
    void Stop() override { m_timer.stop(); }

  private:
    QTimer m_timer;
};

} // namespace

AnsiQtClock::AnsiQtClock()
{
    m_elapsed.start();
}

qint64 AnsiQtClock::Now() const
{
    return m_elapsed.elapsed();
}

std::unique_ptr<AnsiClock::Ticker> AnsiQtClock::MakeTicker(int intervalMs, std::function<void()> onTick)
{
    return std::make_unique<QtTicker>(intervalMs, std::move(onTick));
}

} // namespace dualvex
