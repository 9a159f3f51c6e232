#include "gui/textwnd/AnsiAutoScroller.h"

#include "gui/textwnd/CAnsiView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdlib>

namespace dualvex {

namespace {

constexpr int kPictureSize = 32;
constexpr int kDeadRadiusSquared = 400; // 20 pixels around the origin do nothing

// Unit vector of a direction in screen coordinates (y down).
QPointF DirectionVector(int direction)
{
    const int h = direction / 3;
    const int v = direction % 3;
    QPointF d(h == 1 ? 1.0 : h == 2 ? -1.0 : 0.0, v == 1 ? 1.0 : v == 2 ? -1.0 : 0.0);
    const double length = std::hypot(d.x(), d.y());
    return length > 0 ? d / length : d;
}

// A filled arrow head pointing along `dir`, tip at `tip`.
void DrawArrowHead(QPainter& painter, QPointF tip, QPointF dir, double size)
{
    const QPointF side(-dir.y(), dir.x());
    const QPointF base = tip - dir * size;
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(base + side * size * 0.7);
    path.lineTo(base - side * size * 0.7);
    path.closeSubpath();
    painter.drawPath(path);
}

QPixmap BlankPicture()
{
    QPixmap picture(kPictureSize, kPictureSize);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace

AnsiAutoScroller::AnsiAutoScroller(CAnsiView& view, QPoint origin, int mode)
    : m_view(view), m_origin(origin), m_mode(mode)
{
    for (int d = 0; d < 9; ++d) m_pointers[static_cast<size_t>(d)] = QCursor(DirectionPixmap(d), 16, 16);
    m_marker = new QLabel(&view);
    m_marker->setObjectName(QStringLiteral("ansiAutoScrollMarker"));
    m_marker->setPixmap(MarkerPixmap(mode));
    m_marker->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_marker->setGeometry(origin.x() - kPictureSize / 2, origin.y() - kPictureSize / 2, kPictureSize,
                          kPictureSize);
    m_marker->show();
    view.setCursor(m_pointers[0]);
    view.grabMouse();
    qApp->installEventFilter(this);
    m_ticker = view.m_clock->MakeTicker(kTickMs, [this] { Tick(); });
    m_ticker->Start();
}

AnsiAutoScroller::~AnsiAutoScroller()
{
    Stop();
}

void AnsiAutoScroller::Stop()
{
    if (!m_active) return;
    m_active = false;
    m_ticker->Stop();
    qApp->removeEventFilter(this);
    m_view.releaseMouse();
    m_view.setCursor(Qt::IBeamCursor);
    delete m_marker;
    m_view.Recalc(0);
}

int AnsiAutoScroller::DirectionFor(int dx, int dy, int mode)
{
    if (dx == 0) dx = 1;
    if (dy == 0) dy = 1;
    if (dx * dx + dy * dy < kDeadRadiusSquared) return 0;
    const int slope = dy * 100 / dx;
    int direction = 0;
    if (dx > 0)
        direction = slope <= -240 ? 2 : slope <= -40 ? 5 : slope <= 40 ? 3 : slope <= 240 ? 4 : 1;
    else
        direction = slope <= -240 ? 1 : slope <= -40 ? 7 : slope <= 40 ? 6 : slope <= 240 ? 8 : 2;
    if (mode == kHorizontal) return (direction / 3) * 3;
    if (mode == kVertical) return direction % 3;
    return direction;
}

// Cells per tick: one per 16 pixels of distance along each active part. Each part counts
// by its size, so a diagonal pointer scrolls as fast as a straight one instead of the
// two signed parts cancelling each other out.
int AnsiAutoScroller::SpeedFor(int dx, int dy, int direction)
{
    const int horizontal = direction / 3 != 0 ? std::abs(dx >> 4) : 0;
    const int vertical = direction % 3 != 0 ? std::abs(dy >> 4) : 0;
    return horizontal + vertical;
}

void AnsiAutoScroller::PointerMoved(QPoint position)
{
    const int dx = position.x() - m_origin.x();
    const int dy = position.y() - m_origin.y();
    m_direction = DirectionFor(dx, dy, m_mode);
    m_speed = SpeedFor(dx, dy, m_direction);
    m_view.setCursor(m_pointers[static_cast<size_t>(m_direction)]);
}

void AnsiAutoScroller::Tick()
{
    if (!m_active || m_direction == 0 || m_speed == 0) return;
    const int h = m_direction / 3;
    const int v = m_direction % 3;
    const AnsiCell position = m_view.GetScrollPosition();
    const int column = position.column + (h == 1 ? m_speed : h == 2 ? -m_speed : 0);
    const AnsiLine line = position.line + (v == 1 ? m_speed : v == 2 ? -m_speed : 0);
    m_view.m_firstColumn = column;
    m_view.m_firstLine = line;
    m_view.Recalc(0);
}

bool AnsiAutoScroller::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_active) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: Stop(); return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) Stop();
        return true;
    case QEvent::Wheel:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: return true;
    case QEvent::MouseMove:
        if (watched == &m_view) PointerMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        return watched == &m_view;
    case QEvent::FocusOut:
    case QEvent::ApplicationDeactivate:
        if (watched == &m_view || event->type() == QEvent::ApplicationDeactivate) Stop();
        return false;
    default: return false;
    }
}

// ---- pictures -----------------------------------------------------------------------

QPixmap AnsiAutoScroller::MarkerPixmap(int mode)
{
    QPixmap picture = BlankPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(16, 16), 2.0, 2.0);
    const QPointF centre(16, 16);
    for (int direction : {1, 2, 3, 6}) {
        const bool vertical = direction % 3 != 0;
        if ((vertical && mode == kHorizontal) || (!vertical && mode == kVertical)) continue;
        const QPointF dir = DirectionVector(direction);
        DrawArrowHead(painter, centre + dir * 12.5, dir, 6.0);
    }
    return picture;
}

QPixmap AnsiAutoScroller::DirectionPixmap(int direction)
{
    QPixmap picture = BlankPicture();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::black);
    const QPointF centre(16, 16);
    if (direction <= 0 || direction > 8) {
        painter.drawEllipse(centre, 5.0, 5.0);
        return picture;
    }
    const QPointF dir = DirectionVector(direction);
    painter.drawEllipse(centre, 3.0, 3.0);
    DrawArrowHead(painter, centre + dir * 14.0, dir, 9.0);
    return picture;
}

} // namespace dualvex
