// Middle-button automatic scrolling of a text window: the pressed point is the origin,
// the pointer's direction and distance from it give direction and speed, and a ticker
// of the view's clock scrolls the view every 200 ms until a button, Escape or a focus
// loss ends it.
#pragma once

#include "gui/textwnd/AnsiClock.h"

#include <QCursor>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QPointer>

#include <array>
#include <memory>

class QLabel;

namespace dualvex {

class CAnsiView;

class AnsiAutoScroller : public QObject {
    Q_OBJECT
  public:
    enum Mode : int { kHorizontal = 1, kVertical = 2, kBoth = 3 };
    static constexpr int kTickMs = 200;

    AnsiAutoScroller(CAnsiView& view, QPoint origin, int mode);
    ~AnsiAutoScroller() override;
    AnsiAutoScroller(const AnsiAutoScroller&) = delete;
    AnsiAutoScroller& operator=(const AnsiAutoScroller&) = delete;

    [[nodiscard]] bool IsActive() const { return m_active; }
    [[nodiscard]] int Direction() const { return m_direction; }
    [[nodiscard]] int Speed() const { return m_speed; }
    void Stop();
    // The pointer moved to a view position.
    void PointerMoved(QPoint position);
    // One scroll step, as the timer runs it.
    void Tick();

    // Direction 0..8: horizontal part d / 3 (1 right, 2 left), vertical part d % 3 (1 down, 2 up).
    [[nodiscard]] static int DirectionFor(int dx, int dy, int mode);
    [[nodiscard]] static int SpeedFor(int dx, int dy, int direction);
    // Our own pictures: the marker at the origin and the pointer for each direction.
    [[nodiscard]] static QPixmap MarkerPixmap(int mode);
    [[nodiscard]] static QPixmap DirectionPixmap(int direction);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CAnsiView& m_view;
    QPoint m_origin;
    int m_mode;
    int m_direction = 0;
    int m_speed = 0;
    bool m_active = true;
    std::unique_ptr<AnsiClock::Ticker> m_ticker; // from the view's clock
    QPointer<QLabel> m_marker;                   // child of the view while scrolling runs
    std::array<QCursor, 9> m_pointers;
};

} // namespace dualvex
