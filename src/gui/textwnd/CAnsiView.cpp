#include "gui/textwnd/CAnsiView.h"

#include "gui/textwnd/AnsiAutoScroller.h"
#include "gui/textwnd/AnsiColorsDialog.h"
#include "gui/textwnd/AnsiQtClock.h"
#include "gui/textwnd/AnsiStyleSettings.h"

#include <QAction>
#include <QEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>

namespace dualvex {

namespace {

// Every live text window, newest first: views of one style set find their partners here.
std::vector<CAnsiView*>& ViewList()
{
    static std::vector<CAnsiView*> views;
    return views;
}

constexpr int kMinFontHeight = 6;
constexpr int kMaxFontHeight = 48;
constexpr int kDefaultFontHeight = 15;

} // namespace

CAnsiView::CAnsiView(const QString& styleSetName, int columnCount, AnsiLine lineCount, QWidget* parent)
    : QWidget(parent), m_styleSet(AnsiStyleSet::Acquire(styleSetName)), m_lineCount(lineCount + 100),
      m_columnCount(std::max(0, columnCount))
{
    ViewList().insert(ViewList().begin(), this);
    setWindowTitle(QStringLiteral("AnsiWnd"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // derived views see every move, not only drags
    setCursor(Qt::IBeamCursor);
    SetClock(std::make_unique<AnsiQtClock>());
    for (int i = 0; i < 2; ++i) {
        m_bars[i] = new QScrollBar(i == 0 ? Qt::Horizontal : Qt::Vertical, this);
        m_bars[i]->setObjectName(i == 0 ? QStringLiteral("ansiBar912") : QStringLiteral("ansiBar913"));
        m_bars[i]->setFocusPolicy(Qt::NoFocus);
        m_bars[i]->hide();
        connect(m_bars[i], &QScrollBar::valueChanged, this, [this, i](int value) { OnBarMoved(i, value); });
    }
    SetFont(m_styleSet->HasFont() ? 0 : kDefaultFontHeight, QStringLiteral("Courier"));
    SetCaretMode(kRecreateCaret);
    m_pending |= kRedrawAll;
}

CAnsiView::~CAnsiView()
{
    m_autoScroller.reset();
    std::erase(ViewList(), this);
}

// ---- formats ------------------------------------------------------------------------

int CAnsiView::AddFormat(std::uint32_t background, std::uint32_t text, const QString& name, std::uint32_t id,
                         int fontStyle)
{
    return m_styleSet->AddFormat(background, text, name, id, fontStyle);
}

bool CAnsiView::UpdateFormat(std::uint32_t text, std::uint32_t background, const QString& name,
                             std::uint32_t id, int fontStyle)
{
    return m_styleSet->UpdateFormat(text, background, name, id, fontStyle);
}

// ---- fonts --------------------------------------------------------------------------

void CAnsiView::SetFont(int height, const QString& face)
{
    AnsiFontRecord& record = m_styleSet->FontRecord();
    QStringList candidates;
    if (height != 0) {
        record.width = 0;
        record.height = std::clamp(height, kMinFontHeight, kMaxFontHeight);
        record.style = AnsiFontRecord::FixedPitch;
        candidates << face;
    } else {
        // A stored record may carry anything; keep its size within what the chooser offers.
        record.height = std::clamp(record.height, kMinFontHeight, kMaxFontHeight);
        candidates << record.face;
    }
    candidates << QStringLiteral("Courier") << QStringLiteral("Terminal") << QStringLiteral("Fixedsys")
               << QString();
    for (const QString& candidate : candidates) {
        AnsiFontRecord trial = record;
        trial.face = candidate;
        const QFont font = FontFromRecord(trial);
        const QFontInfo info(font);
        if (!info.fixedPitch()) continue;
        m_styleSet->ApplyFont(font, info.family());
        ApplyCellSize();
        RelayoutPartners();
        return;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(record.height);
    m_styleSet->ApplyFont(font, QFontInfo(font).family());
    ApplyCellSize();
    RelayoutPartners();
}

void CAnsiView::ApplyCellSize()
{
    m_charWidth = m_styleSet->CharWidth();
    m_charHeight = m_styleSet->CharHeight();
    MeasureColumns();
    MeasureLines();
    m_pending |= kRedrawAll | kRedrawCaret;
    Recalc(kQuiet);
}

std::vector<CAnsiView*> CAnsiView::Partners() const
{
    std::vector<CAnsiView*> partners;
    for (CAnsiView* view : ViewList())
        if (view != this && view->m_styleSet->SetNumber() == m_styleSet->SetNumber())
            partners.push_back(view);
    return partners;
}

void CAnsiView::RelayoutPartners()
{
    for (CAnsiView* view : Partners()) {
        view->ApplyCellSize();
        view->SizePass(view->width(), view->height());
        view->Redraw(false);
    }
}

void CAnsiView::FontDialog()
{
    QFontDialog dialog(this);
    dialog.setOptions(QFontDialog::MonospacedFonts);
    dialog.setCurrentFont(m_styleSet->BaseFont());
    if (dialog.exec() != QDialog::Accepted) return;
    const QFont chosen = dialog.selectedFont();
    const int pixels = chosen.pixelSize() > 0 ? chosen.pixelSize() : QFontInfo(chosen).pixelSize();
    SetFont(pixels, chosen.family());
    (void)SaveSettings();
    SetCaretMode(kRecreateCaret);
    Redraw(false);
}

// ---- settings -----------------------------------------------------------------------

bool CAnsiView::LoadSettings(const QString& path, bool machine)
{
    if (path.isNull()) return false;
    AnsiStyleSet& set = *m_styleSet;
    const bool walked = LoadStyleSettings(set, path, machine);
    SetFont(0, set.FontRecord().face);
    if ((m_pending & ~kUpdating) == 0) Redraw(false);
    return walked;
}

bool CAnsiView::SaveSettings(const QString& path)
{
    return SaveStyleSettings(*m_styleSet, path);
}

// ---- dialogs and menu ---------------------------------------------------------------

int CAnsiView::OnColorsDialog()
{
    const int result = EditColors(m_styleSet->Formats(), m_styleSet->BaseFont(), 0, nullptr, this);
    SetCaretMode(kRecreateCaret);
    if (result == QDialog::Accepted) {
        (void)SaveSettings();
        for (CAnsiView* view : Partners()) view->Redraw(false);
        m_pending |= kRedrawAll;
    }
    Redraw(true);
    return result;
}

void CAnsiView::ContextMenu(int x, int y, QMenu* menu)
{
    QMenu* target = menu;
    if (target == nullptr) {
        target = new QMenu(this);
        target->setAttribute(Qt::WA_DeleteOnClose);
    }
    QAction* colors = target->addAction(QStringLiteral("&Farben einstellen"));
    colors->setObjectName(QStringLiteral("ansiColors"));
    colors->setData(kColorsCommand);
    connect(colors, &QAction::triggered, this, [this] { OnColorsDialog(); });
    QAction* fonts = target->addAction(QStringLiteral("Schri&ften einstellen"));
    fonts->setObjectName(QStringLiteral("ansiFonts"));
    fonts->setData(kFontsCommand);
    connect(fonts, &QAction::triggered, this, [this] { FontDialog(); });
    if (menu == nullptr) target->popup(mapToGlobal(QPoint(x, y)));
}

bool CAnsiView::SetMarginWidth(int pixels)
{
    if (pixels < 0 || pixels > kMaxMargin) pixels = 0;
    if (pixels == m_marginWidth) return false;
    std::vector<CAnsiView*> views = Partners();
    views.push_back(this);
    for (CAnsiView* view : views) {
        view->m_marginWidth = pixels;
        view->MeasureColumns();
        view->m_pending |= kRedrawAll;
        view->Recalc(0);
    }
    return true;
}

// ---- base hooks: nothing to do unless a derived view says so --------------------------

bool CAnsiView::LineText(AnsiLine, int, int, AnsiLineText&)
{
    return false;
}
void CAnsiView::OnSettingsChanged(int) {}
void CAnsiView::OnScrolled() {}
void CAnsiView::OnResize(int, int, int, int) {}
int CAnsiView::OnKeyScroll(int)
{
    return 0;
}
void CAnsiView::OnChar(const QString&, int) {}
int CAnsiView::OnKeyUp(int, int)
{
    return 0;
}
bool CAnsiView::OnKeyDown(int, int)
{
    return false;
}
bool CAnsiView::OnLButtonDblClk(int, int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnRButtonDblClk(int, int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnLButtonDown(int, int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnRButtonDown(int, int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnLButtonUp(int, int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnRButtonUp(int, int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnMouseMove(int, int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnMarginMouse(int, int, int, AnsiLine)
{
    return false;
}
bool CAnsiView::OnMouseWheelHook(int, int)
{
    return false;
}
QScrollBar* CAnsiView::GetScrollBar(int index) const
{
    return m_bars[index == 0 ? 0 : 1];
}

int CAnsiView::SetCursor(int column, AnsiLine line, int flags)
{
    if (flags & kRelative) {
        m_cursorColumn += column;
        m_cursorLine += line;
    } else {
        m_cursorColumn = column;
        m_cursorLine = line;
    }
    return 1;
}

// ---- owner's command message --------------------------------------------------------

AnsiCell CAnsiView::ViewCommand(int op, int x, AnsiLine y)
{
    const AnsiCell cursor = CursorCell();
    switch (op) {
    case 0:
    case 4:
        SetCursor(x, y, op == 0 ? 0 : kExtend);
        Recalc(kQuiet);
        return cursor;
    case 1:
    case 5: return cursor;
    case 2: return ScrollTo(x, y);
    case 3: return GetScrollPosition();
    default: return {};
    }
}

int CAnsiView::SetCaretMode(int mode)
{
    const int previous = m_caretMode;
    if (mode >= 0 && mode < kRecreateCaret) m_caretMode = mode;
    m_pending |= kRedrawCaret;
    return previous;
}

void CAnsiView::SetPointer(const QCursor* cursor)
{
    if (cursor == nullptr)
        setCursor(Qt::IBeamCursor);
    else
        setCursor(*cursor);
}

// ---- focus and palette --------------------------------------------------------------

void CAnsiView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    SampleModifiers(QGuiApplication::queryKeyboardModifiers());
    m_hasFocus = true;
    InvalidateCaret();
    emit Notify(this, kFocusGained, 0, 0);
}

void CAnsiView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_hasFocus = false;
    InvalidateCaret();
    emit Notify(this, kFocusLost, 0, 0);
}

void CAnsiView::changeEvent(QEvent* event)
{
    // Formats with the theme's colour follow a palette change by themselves.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        m_pending |= kRedrawAll;
        Redraw(true);
    }
    QWidget::changeEvent(event);
}

} // namespace dualvex
