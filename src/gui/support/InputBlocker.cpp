#include "gui/support/InputBlocker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

namespace dualvex {

InputBlocker::InputBlocker(std::function<void()> onEscape) : m_onEscape(std::move(onEscape))
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

// Drags arrive accepted: they are ignored as well as filtered, or the files would
// still be dropped.
bool InputBlocker::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Accepted, so no shortcut fires; the key press that follows is dropped here.
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && m_onEscape) m_onEscape();
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: event->ignore(); return true;
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TabletPress:
    case QEvent::Shortcut: return true;
    default: return false;
    }
}

} // namespace dualvex
