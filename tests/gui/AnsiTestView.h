// A text window that shows "line <n>" with a coloured run on every line and records
// which lines it was asked to draw, for the text window tests. Its timers run on a
// manual clock that the test advances.
#pragma once

#include "ManualClock.h"

#include "gui/textwnd/CAnsiView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <set>
#include <vector>

namespace dualvex::test {

class AnsiTestView : public CAnsiView {
  public:
    explicit AnsiTestView(const QString& setName = QStringLiteral("Test"), int columns = 60,
                          AnsiLine lines = 500)
        : CAnsiView(setName, columns, 0)
    {
        SetColumnCount(columns);
        SetLineCount(lines);
        m_marked = AddFormat(0x0000FF, 0xFFFFFF, QStringLiteral("Marke"), 0x80000002u, 1);
        auto manual = std::make_unique<ManualClock>();
        clock = manual.get();
        SetClock(std::move(manual));
    }

    bool LineText(AnsiLine line, int, int, AnsiLineText& out) override
    {
        printed.insert(line);
        out.text = QStringLiteral("line %1 ").arg(line, 6, 10, QLatin1Char('0')) + QStringLiteral("MARK") +
                   QStringLiteral(" tail");
        out.runs = {{12, 0}, {4, static_cast<std::uint16_t>(m_marked)}, {5, 0}};
        return true;
    }

    int SetCursor(int column, AnsiLine line, int flags) override
    {
        cursorCalls.push_back({column, line, flags});
        return CAnsiView::SetCursor(column, line, flags);
    }

    struct CursorCall {
        int column;
        AnsiLine line;
        int flags;
    };
    std::set<AnsiLine> printed;
    std::vector<CursorCall> cursorCalls;
    ManualClock* clock = nullptr; // owned by the view
    int MarkedFormat() const { return m_marked; }

  private:
    int m_marked = 0;
};

inline void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                      QPoint pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

inline void SendWheel(QWidget* widget, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      Qt::MouseButtons buttons = Qt::NoButton)
{
    const QPointF pos(20, 20);
    QWheelEvent event(pos, widget->mapToGlobal(pos), QPoint(), QPoint(0, delta), buttons, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// Shows a view at a known size and lets it paint once.
inline void ShowView(CAnsiView& view, int width = 400, int height = 300)
{
    view.resize(width, height);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);
    QApplication::processEvents();
}

} // namespace dualvex::test
