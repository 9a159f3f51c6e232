// Typing, the Ctrl key hooks, the clipboard, undo and redo and the pane's
// commands: each turns one event into one call of the core.
#include "gui/hexview/CHexView.h"
#include "gui/support/CommandIds.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <string_view>

namespace dualvex {

namespace {

constexpr int kCtrlBit = 2;  // modifier state: bit 1 Ctrl
constexpr int kShiftBit = 1; // bit 0 Shift

} // namespace

// ---- keys -----------------------------------------------------------------------------

bool CHexView::OnKeyDown(int key, int flags)
{
    m_keyHandled = true;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        m_core.CycleArea(key == Qt::Key_Backtab || (flags & kShiftBit) != 0);
        Apply(-1);
        return true;
    }
    if (flags & kCtrlBit) {
        switch (key) {
        case Qt::Key_Insert:
        case Qt::Key_C: Copy(); return true;
        case Qt::Key_V: PasteValue(); return true;
        case Qt::Key_Z:
            if (flags & kShiftBit)
                Redo();
            else
                Undo();
            return true;
        // The window's keys for find and the calculator: never typed as digits.
        case Qt::Key_F:
        case Qt::Key_Y: return true;
        default: break;
        }
    }
    m_keyHandled = false;
    return false;
}

void CHexView::OnChar(const QString& text, int)
{
    // The character of a key a hook already used (Ctrl+C, Tab) is not typed.
    if (m_keyHandled) return;
    for (const QChar ch : text) {
        // The character column is 8-bit Latin-1: anything beyond cannot be stored.
        if (ch.unicode() > 0xFF) {
            Beep();
            continue;
        }
        (void)m_core.TypeChar(static_cast<unsigned char>(ch.unicode()));
        Apply(-1);
    }
}

// ---- clipboard ------------------------------------------------------------------------

bool CHexView::Copy()
{
    if (!HasSelection()) return false;
    const std::string text = m_core.CopyText();
    QGuiApplication::clipboard()->setText(
        QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

bool CHexView::PasteText(bool asHex)
{
    if (IsReadOnly()) return Refuse();
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return false;
    const QByteArray bytes = text.toLatin1();
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const bool done = asHex ? m_core.PasteHex(view) : m_core.PasteValue(view);
    Apply();
    return done;
}

bool CHexView::PasteValue()
{
    return PasteText(false);
}
bool CHexView::PasteHex()
{
    return PasteText(true);
}

HexWriteResult CHexView::WriteBytes(const std::uint8_t* bytes, HexPos count)
{
    const HexWriteResult result = m_core.WriteBytes(bytes, count);
    Apply();
    return result;
}

// ---- undo -----------------------------------------------------------------------------

bool CHexView::Undo()
{
    const bool done = m_core.Undo();
    Apply();
    return done;
}

bool CHexView::Redo()
{
    const bool done = m_core.Redo();
    Apply();
    return done;
}

// ---- commands -------------------------------------------------------------------------

bool CHexView::OnCommand(int id)
{
    switch (id) {
    case cmd::Copy: Copy(); return true;
    case cmd::Paste: PasteValue(); return true;
    case cmd::PasteHex: PasteHex(); return true;
    case cmd::Undo: Undo(); return true;
    case cmd::Redo: Redo(); return true;
    case cmd::HexSettings: ConfigDialog(); return true;
    default: return RunTool(id);
    }
}

bool CHexView::OnUpdateCommand(int id, CommandState& state) const
{
    switch (id) {
    case cmd::Copy: state.enabled = HasSelection(); return true;
    case cmd::Paste:
    case cmd::PasteHex: {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        state.enabled = m_core.CanPaste() && mime != nullptr && mime->hasText();
        return true;
    }
    case cmd::Undo: state.enabled = m_core.CanUndo(); return true;
    case cmd::Redo: state.enabled = m_core.CanRedo(); return true;
    case cmd::HexSettings: state.enabled = true; return true;
    default: return UpdateTool(id, state);
    }
}

// ---- context menu ---------------------------------------------------------------------

// The pane's own commands first, then the text window's colour and font items. An item
// is greyed while its command would do nothing.
void CHexView::ContextMenu(int x, int y, QMenu* menu)
{
    QMenu* target = menu;
    if (target == nullptr) {
        target = new QMenu(this);
        target->setAttribute(Qt::WA_DeleteOnClose);
    }
    struct Item {
        int id;
        const char* caption;
    };
    // The commands no menu or key of the window reaches follow below a separator.
    constexpr Item kItems[] = {{cmd::Checksum, "&Checksumme"},
                               {cmd::GotoAddress, "&Zu Adresse"},
                               {cmd::Copy, "&Kopieren"},
                               {cmd::Find, "&Suchen"},
                               {0, nullptr},
                               {cmd::HexSettings, "&Einstellungen"},
                               {0, nullptr},
                               {cmd::CrcCalculator, "C&RC-Summe berechnen"},
                               {cmd::FloatConverter, "&Flieskommakonverter"},
                               {cmd::InsertNumber, "Zahl ei&ngeben"},
                               {cmd::Undo, "&Rückgängig\tStrg+Z"},
                               {cmd::Redo, "&Wiederherstellen\tStrg+Umschalt+Z"},
                               {cmd::PasteHex, "Als &Hex einfügen"},
                               {cmd::CopyEscaped, "Als &Text kopieren"},
                               {0, nullptr}};
    for (const Item& item : kItems) {
        if (item.id == 0) {
            target->addSeparator();
            continue;
        }
        QAction* action = target->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QStringLiteral("cmd%1").arg(item.id));
        action->setData(item.id);
        CommandState state;
        action->setEnabled(OnUpdateCommand(item.id, state) && state.enabled);
        connect(action, &QAction::triggered, this, [this, id = item.id] { OnCommand(id); });
    }
    CAnsiView::ContextMenu(x, y, target);
    if (menu == nullptr) target->popup(mapToGlobal(QPoint(x, y)));
}

} // namespace dualvex
