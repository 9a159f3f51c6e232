#include "gui/app/HexDoubleWnd.h"

#include "core/app/DoubleWindowLayout.h"
#include "core/app/EditorLaunch.h"
#include "core/hexview/HexViewCore.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QStyle>

namespace dualvex {

namespace {

constexpr int kAddressDigits = 8;

bool ValidPane(int pane)
{
    return pane == 0 || pane == 1;
}

} // namespace

HexDoubleWnd::HexDoubleWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HexDoubleWnd"));
    setCursor(Qt::IBeamCursor);
    CreatePane(0);
    CreatePane(1);
}

HexDoubleWnd::~HexDoubleWnd()
{
    // The panes outlive this object's own part while QWidget deletes them, and losing
    // the focus on the way makes them notify: they must not reach it any more.
    for (CHexView* pane : m_panes) pane->disconnect(this);
}

void HexDoubleWnd::CreatePane(int index)
{
    auto* pane = new CHexView(this);
    pane->setObjectName(QStringLiteral("pane%1").arg(index == 0 ? kPaneId0 : kPaneId1));
    const int digits = pane->GetSetting(kSettingAddressLength);
    if (digits != kAddressDigits)
        pane->SetLayout({.width = pane->GetSetting(kSettingLineWidth), .digits = kAddressDigits});
    connect(pane, &CHexView::HexNotification, this, &HexDoubleWnd::OnNotification);
    auto* title = new QLabel(this);
    title->setObjectName(QStringLiteral("title%1").arg(index));
    title->setFrameShape(QFrame::Panel);
    title->setFrameShadow(QFrame::Sunken);
    title->setTextFormat(Qt::PlainText);
    title->hide();
    title->installEventFilter(this);
    m_panes[static_cast<std::size_t>(index)] = pane;
    m_titleBars[static_cast<std::size_t>(index)] = title;
}

CHexView* HexDoubleWnd::Pane(int pane) const
{
    return ValidPane(pane) ? m_panes[static_cast<std::size_t>(pane)] : nullptr;
}

QLabel* HexDoubleWnd::TitleBar(int pane) const
{
    return ValidPane(pane) ? m_titleBars[static_cast<std::size_t>(pane)] : nullptr;
}

int HexDoubleWnd::IndexOf(const CHexView* view) const
{
    return view == m_panes[0] ? 0 : view == m_panes[1] ? 1 : -1;
}

int HexDoubleWnd::SetData(int pane, const std::uint8_t* bytes, HexPos length, unsigned flags)
{
    if (!ValidPane(pane)) return 0;
    Pane(pane)->SetData(bytes, length, 0, flags);
    // Both panes scroll over the longer image, so their top addresses can always agree.
    const HexPos longer = std::max(m_panes[0]->Core().Length(), m_panes[1]->Core().Length());
    for (CHexView* view : m_panes) view->SetScrollLength(longer);
    return 1;
}

int HexDoubleWnd::SetDiffBits(int pane, const std::uint8_t* bits)
{
    if (!ValidPane(pane)) return 0;
    // The count is the pane's own length: marks cover the whole image.
    CHexView* view = Pane(pane);
    view->SetDiffBits(bits, bits ? view->Core().Length() : 0);
    return 1;
}

HexPos HexDoubleWnd::FirstVisible(int pane) const
{
    return ValidPane(pane) ? Pane(pane)->FirstVisiblePosition(false) : 0;
}

HexPos HexDoubleWnd::CurrentPosition(int pane) const
{
    if (!ValidPane(pane)) return 0;
    const CHexView* view = Pane(pane);
    return view->HasSelection() ? view->GetSelectionStart(false) : view->GetCursorPos(false);
}

HexPos HexDoubleWnd::VisibleByteCount(int pane) const
{
    return ValidPane(pane) ? Pane(pane)->VisibleByteCount() : 0;
}

void HexDoubleWnd::SetFirstVisibleBoth(HexPos position)
{
    for (CHexView* pane : m_panes) pane->SetTopAddress(position, false);
}

void HexDoubleWnd::SetCursorBoth(HexPos position)
{
    // Past the end of the shorter pane its cursor stops on its last byte; the pane that
    // holds the position moves last, so that both panes end up showing the position.
    const bool firstHolds = position < m_panes[0]->Core().Length();
    for (int pane : firstHolds ? std::array{1, 0} : std::array{0, 1})
        Pane(pane)->SetCursorPos(position, false);
}

int HexDoubleWnd::SetTitle(int pane, const QString& title)
{
    if (!ValidPane(pane)) return 0;
    const bool hadTitles = !m_titles[0].isEmpty() || !m_titles[1].isEmpty();
    m_titles[static_cast<std::size_t>(pane)] = title;
    TitleBar(pane)->setText(title);
    const bool hasTitles = !m_titles[0].isEmpty() || !m_titles[1].isEmpty();
    if (hadTitles != hasTitles) LayOut();
    return 1;
}

void HexDoubleWnd::SetModeBits(std::uint32_t value, std::uint32_t mask)
{
    const std::uint32_t before = m_mode;
    m_mode = (m_mode & ~mask) | (value & mask);
    if ((before ^ m_mode) & kModeHorizontal) {
        LayOut();
        update();
    }
}

void HexDoubleWnd::FocusActivePane()
{
    Pane(m_active)->setFocus();
}

void HexDoubleWnd::SetPaths(const QString& path1, const QString& path2)
{
    m_paths = {path1, path2};
}

void HexDoubleWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void HexDoubleWnd::LayOut()
{
    const bool anyTitle = !m_titles[0].isEmpty() || !m_titles[1].isEmpty();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const DoubleWindowLayout layout =
        LayOutDoubleWindow(width(), height(), m_mode & kModeHorizontal, TitleHeight(scrollBar, anyTitle));
    for (std::size_t i = 0; i < 2; ++i) {
        const LayoutRect& p = layout.pane[i];
        const LayoutRect& t = layout.title[i];
        m_panes[i]->setGeometry(p.x, p.y, p.width, std::max(0, p.height));
        m_titleBars[i]->setGeometry(t.x, t.y, t.width, t.height);
        m_titleBars[i]->setVisible(layout.titlesShown);
    }
    m_separatorTop = layout.separatorTop;
}

void HexDoubleWnd::paintEvent(QPaintEvent*)
{
    if (m_separatorTop < 0) return;
    // Seven rows: light, white, three of button face, shadow, black.
    const QPalette& pal = palette();
    const QColor rows[7] = {pal.color(QPalette::Light),
                            Qt::white,
                            pal.color(QPalette::Button),
                            pal.color(QPalette::Button),
                            pal.color(QPalette::Button),
                            pal.color(QPalette::Dark),
                            Qt::black};
    QPainter painter(this);
    for (int i = 0; i < 7; ++i) painter.fillRect(0, m_separatorTop + i, width(), 1, rows[i]);
}

void HexDoubleWnd::OnNotification(CHexView* view, int code, HexNotify body)
{
    const int from = IndexOf(view);
    if (from < 0) return;
    switch (code) {
    case kNotifyFocusLost:
    case kNotifyFocusGained:
        if (m_active != from) {
            m_active = from;
            emit ActivePaneChanged(from);
        }
        return;
    default: break;
    }
    if (m_mirroring) return;
    m_mirroring = true;
    CHexView* other = Pane(1 - from);
    if (code == kNotifySelection) MirrorSelection(from, body);
    if (code == kNotifySettings) MirrorSettings(from);
    // Whatever the other pane did to follow, it ends on the reporting pane's top address.
    if (other->FirstVisiblePosition(false) != view->FirstVisiblePosition(false))
        other->SetTopAddress(view->FirstVisiblePosition(false), false);
    m_mirroring = false;
}

void HexDoubleWnd::MirrorSelection(int from, const HexNotify& body)
{
    CHexView* a = Pane(from);
    CHexView* b = Pane(1 - from);
    if (body.third == 0) {
        b->ClearSelection();
        return;
    }
    // The first end is where A's cursor stands, the second the fixed end.
    HexPos cursorEnd = body.first;
    HexPos fixedEnd = body.second;
    if (a->GetCursorPos(false) != body.first) std::swap(cursorEnd, fixedEnd);
    HexPos count = 0;
    const HexPos lower = b->HasSelection() ? b->GetSelection(false, &count) : -1;
    const bool sharesFixedEnd = b->HasSelection() && (lower == fixedEnd || lower + count - 1 == fixedEnd);
    if (!sharesFixedEnd) b->SetCursorPos(fixedEnd, false);
    b->SetCursorPos(cursorEnd, false, true);
}

void HexDoubleWnd::MirrorSettings(int from)
{
    const CHexView* a = Pane(from);
    CHexView* b = Pane(1 - from);
    b->SetLayout({.width = a->GetSetting(kSettingLineWidth),
                  .extraSpace = a->GetSetting(kSettingExtraSpace),
                  .insertSpace = a->GetSetting(kSettingInsertSpace),
                  .digits = a->GetSetting(kSettingAddressLength),
                  .format = a->GetSetting(kSettingFormat),
                  .invert = a->GetSetting(kSettingInvert)});
    // The width mode and the snap switch live in the flags: the raster values alone would
    // turn a fixed width into an automatic one and switch snapping on.
    const auto flags = static_cast<std::uint32_t>(a->GetSetting(kSettingFlags));
    const int width = (flags & kHexAutoFit) == 0       ? -a->GetSetting(kSettingLineWidth)
                      : (flags & kHexWidthRaster) != 0 ? a->GetSetting(kSettingWidthRaster)
                                                       : 0;
    const int snap = (flags & kHexSnapAddress) != 0 ? a->GetSetting(kSettingRaster) : 0;
    b->SetWidthMode(width, snap, a->GetSetting(kSettingStatusMode), a->GetSetting(kSettingSelectionRaster));
}

bool HexDoubleWnd::RunPaneCommand(int id)
{
    return Pane(m_active)->OnCommand(id);
}

int HexDoubleWnd::PaneAt(const QPoint& point) const
{
    if (m_mode & kModeHorizontal) return point.y() >= height() / 2 ? 1 : 0;
    return point.x() >= width() / 2 ? 1 : 0;
}

void HexDoubleWnd::contextMenuEvent(QContextMenuEvent* event)
{
    ShowPathMenu(event->globalPos());
}

bool HexDoubleWnd::eventFilter(QObject* watched, QEvent* event)
{
    // The title bars belong to the double window's own menu.
    if (event->type() == QEvent::ContextMenu && (watched == m_titleBars[0] || watched == m_titleBars[1])) {
        ShowPathMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void HexDoubleWnd::ShowPathMenu(const QPoint& globalPos)
{
    const int pane = PaneAt(mapFromGlobal(globalPos));
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* copy = menu->addAction(QStringLiteral("Pfad kopieren"));
    QAction* editor = menu->addAction(QStringLiteral("HEX-Editor starten"));
    copy->setObjectName(QStringLiteral("cmd%1").arg(cmd::CopyPath));
    editor->setObjectName(QStringLiteral("cmd%1").arg(cmd::StartEditor));
    const bool havePath = !Path(pane).isEmpty();
    copy->setEnabled(havePath);
    editor->setEnabled(havePath);
    connect(copy, &QAction::triggered, this, [this, pane] { CopyPath(pane); });
    connect(editor, &QAction::triggered, this, [this, pane] { StartEditor(pane); });
    menu->popup(globalPos);
}

void HexDoubleWnd::CopyPath(int pane) const
{
    // The path as typed may be relative to a folder the clipboard's reader knows nothing of.
    const QString path = Path(pane);
    if (!path.isEmpty()) QGuiApplication::clipboard()->setText(QFileInfo(path).absoluteFilePath());
}

bool HexDoubleWnd::StartEditor(int pane) const
{
    const QString path = Path(pane);
    if (path.isEmpty()) return false;
    const std::string editor = FindHexEditor(QCoreApplication::applicationDirPath().toStdString(),
                                             qEnvironmentVariable("PATH").toStdString());
    if (editor.empty()) return false;
    QStringList args;
    for (const std::string& arg :
         HexEditorArguments(static_cast<std::uint64_t>(FirstVisible(pane)), path.toStdString()))
        args << QString::fromStdString(arg);
    // An argument list, never a shell command line: the path reaches the editor as it is.
    return QProcess::startDetached(QString::fromStdString(editor), args);
}

} // namespace dualvex
