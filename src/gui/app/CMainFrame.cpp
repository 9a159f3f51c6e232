#include "gui/app/CMainFrame.h"

#include "core/app/BuildInfo.h"
#include "core/support/CSettingsKey.h"
#include "gui/app/CHelpDialog.h"
#include "gui/app/CommandTable.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/support/CommandIds.h"
#include "gui/support/MessageSeam.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace dualvex {

namespace {

constexpr int kMaxSetPanes = 8;
constexpr int kMaxPanes = 25; // message pane, extra panes and indicator together
constexpr int kIdleUpdateMs = 150;

const QList<int> kToolbarIds = {cmd::Open,
                                0,
                                cmd::Copy,
                                0,
                                cmd::Find,
                                cmd::FindNext,
                                0,
                                cmd::Calculator,
                                0,
                                cmd::FirstDiff,
                                cmd::PreviousDiff,
                                cmd::CurrentDiff,
                                cmd::NextDiff,
                                cmd::LastDiff,
                                0,
                                cmd::Reload,
                                cmd::StayOnTop,
                                cmd::About};

// Raised buttons draw a frame around each picture; flat ones only on hover. A
// highlighted button (a command that waits for the user) is filled in either style.
QString ToolbarStyle(bool flat)
{
    QString style = QStringLiteral(
        "QToolButton[highlighted=\"true\"] { background: #ffd24a; border: 1px solid #b07d00; }");
    if (!flat) style.prepend(QStringLiteral("QToolButton { border: 1px outset gray; } "));
    return style;
}

// Colours are 0x00BBGGRR; a negative value means the given palette default.
QColor ToColour(int value, const QColor& fallback)
{
    if (value < 0) return fallback;
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Dualvex"));
    // Below this the panes fall to a byte or two a line and the status panes overlap.
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setWindowIcon(ProgramIcon());
    LoadSettings();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(kIdleUpdateMs);
    connect(m_idleTimer, &QTimer::timeout, this, [this] { UpdateCommandStates(m_toolBar->actions()); });
    m_idleTimer->start();
    // A key bound to a command must find the command's state as it is now, not as the
    // last idle update left it: a stale disabled action lets its key fall through.
    qApp->installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this)
        UpdateCommandStates();
    return QMainWindow::eventFilter(watched, event);
}

CMainFrame::~CMainFrame()
{
    // The view goes first, while the frame it reports to is still whole.
    m_target = nullptr;
    delete takeCentralWidget();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SaveSettings();
    QMainWindow::closeEvent(event);
}

void CMainFrame::CreateActions()
{
    for (const CommandInfo& info : AllCommands()) {
        // Text after a tab is shown as the accelerator hint, also for hints the key table does not bind.
        auto* action = new QAction(info.caption, this);
        action->setObjectName(QStringLiteral("cmd%1").arg(info.id));
        action->setStatusTip(info.prompt);
        action->setToolTip(info.toolTip.isEmpty() ? info.prompt : info.toolTip);
        action->setShortcuts(info.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setIcon(ToolbarIcon(info.id));
        action->setIconVisibleInMenu(true);
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
        addAction(action);
        m_actions.insert(id, action);
    }
    for (int id : {cmd::SplitHorizontal, cmd::FlatToolbar, cmd::StayOnTop, cmd::AutoReload,
                   cmd::ToggleToolbar, cmd::ToggleStatusbar})
        m_actions.value(id)->setCheckable(true);
}

QMenu* CMainFrame::AddMenu(const QString& title, const QList<int>& ids)
{
    QMenu* menu = menuBar()->addMenu(title);
    for (int id : ids) {
        if (id == 0) {
            menu->addSeparator();
            continue;
        }
        menu->addAction(m_actions.value(id));
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateCommandStates(menu->actions()); });
    return menu;
}

void CMainFrame::CreateMenus()
{
    using namespace cmd;
    AddMenu(QStringLiteral("&Datei"), {New, Open, 0, Exit});
    AddMenu(QStringLiteral("&Bearbeiten"),
            {Copy, Paste, CopyCpp, 0, FindNext, Find, FindRange, 0, Calculator, Checksum, GotoAddress, 0,
             CrcCalculator, FloatConverter, InsertNumber});
    AddMenu(QStringLiteral("&Ansicht"),
            {cmd::Colours, cmd::Font, cmd::HexSettings, cmd::SplitHorizontal, 0, cmd::FlatToolbar,
             cmd::StayOnTop, cmd::AutoReload, cmd::ToggleToolbar, cmd::ToggleStatusbar});
    AddMenu(QStringLiteral("&?"), {About, SyntaxHelp});
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Symbolleiste"));
    m_toolBar->setObjectName(QStringLiteral("toolbar128"));
    m_toolBar->setIconSize(QSize(16, 15));
    for (int id : kToolbarIds) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions.value(id));
    }
    m_toolBar->setStyleSheet(ToolbarStyle(m_flatMode));
}

void CMainFrame::CreateStatusBar()
{
    // The idle prompt comes back whenever a command's prompt is taken away.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty()) statusBar()->showMessage(QStringLiteral("Bereit"));
    });
    statusBar()->showMessage(QStringLiteral("Bereit"));
    // Notices stay until they are dealt with, unlike messages, which the next
    // prompt replaces.
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->hide();
    statusBar()->addPermanentWidget(m_notice);
    m_numIndicator = new QLabel(QStringLiteral("NUM"), this);
    m_numIndicator->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(m_numIndicator);
}

bool CMainFrame::RunCommand(int id)
{
    QAction* action = m_actions.value(id);
    if (!action) return false;
    UpdateCommandStates({action});
    if (!action->isEnabled()) return false;
    action->trigger();
    return true;
}

void CMainFrame::Dispatch(int id)
{
    // Escape first gives a running load the chance to stop before it ends the program.
    if (id == cmd::Exit && m_target && m_target->OnCommand(id)) return;
    if (HandleOwnCommand(id)) return;
    if (m_target) m_target->OnCommand(id);
}

void CMainFrame::UpdateCommandStates(const QList<QAction*>& actions)
{
    const QList<QAction*> list = actions.isEmpty() ? m_actions.values() : actions;
    for (QAction* action : list) {
        const int id = m_actions.key(action, 0);
        if (id == 0) continue;
        CommandState state;
        // Nobody claims it, so triggering it would do nothing: greyed.
        if (!UpdateOwnCommand(id, state) && !(m_target && m_target->OnUpdateCommand(id, state)))
            state.enabled = false;
        action->setEnabled(state.enabled);
        if (action->isCheckable()) action->setChecked(state.checked);
    }
}

bool CMainFrame::HandleOwnCommand(int id)
{
    switch (id) {
    case cmd::SyntaxHelp: ShowSyntaxHelp(); return true;
    case cmd::About: ShowAbout(); return true;
    case cmd::StayOnTop: ToggleStayOnTop(); return true;
    case cmd::FlatToolbar: ToggleFlatMode(); return true;
    case cmd::Exit: close(); return true;
    case cmd::ToggleToolbar: m_toolBar->setVisible(!m_toolBar->isVisible()); return true;
    case cmd::ToggleStatusbar: statusBar()->setVisible(!statusBar()->isVisible()); return true;
    default: return false;
    }
}

bool CMainFrame::UpdateOwnCommand(int id, CommandState& state) const
{
    switch (id) {
    case cmd::StayOnTop: state.checked = m_stayOnTop; return true;
    case cmd::FlatToolbar: state.checked = m_flatMode; return true;
    case cmd::ToggleToolbar: state.checked = !m_toolBar->isHidden(); return true;
    case cmd::ToggleStatusbar: state.checked = !statusBar()->isHidden(); return true;
    case cmd::SyntaxHelp:
    case cmd::About:
    case cmd::Exit: return true;
    default: return false;
    }
}

void CMainFrame::ToggleStayOnTop()
{
    m_stayOnTop = !m_stayOnTop;
    const bool visible = isVisible();
    const bool active = isActiveWindow();
    QPointer<QWidget> focus = QApplication::focusWidget();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_stayOnTop);
    // Changing the flag re-creates the native window, which hides it; keep it where it
    // was, active, with the keys going where they went before.
    if (!visible) return;
    // Hiding dropped the focus; named again while hidden, it is where the window's
    // activation puts the keys.
    if (focus && isAncestorOf(focus)) {
        focus->setFocus(Qt::ActiveWindowFocusReason);
        m_focusToRestore = focus;
    }
    show();
    if (!active) return;
    activateWindow();
    raise();
    // Some window systems keep the window active through the re-creation and send no
    // activation change: then the focus goes back at once.
    if (isActiveWindow()) RestoreFocus();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) RestoreFocus();
}

void CMainFrame::RestoreFocus()
{
    if (!m_focusToRestore) return;
    m_focusToRestore->setFocus(Qt::ActiveWindowFocusReason);
    m_focusToRestore = nullptr;
}

void CMainFrame::ToggleFlatMode()
{
    m_flatMode = !m_flatMode;
    m_toolBar->setStyleSheet(ToolbarStyle(m_flatMode));
    if (m_toolBar->isVisible()) {
        m_toolBar->hide();
        m_toolBar->show();
    }
}

void CMainFrame::ShowSyntaxHelp()
{
    CHelpDialog dialog(this);
    dialog.exec();
}

void CMainFrame::ShowAbout()
{
    MessageSeam::About(this, QStringLiteral("Info über Dualvex"),
                       QStringLiteral("Dualvex, Version %1\nCommit %2")
                           .arg(QString::fromUtf8(ProgramVersion()), QString::fromUtf8(BuildCommit())));
}

void CMainFrame::SetBusy(const QString& text)
{
    if (text.isEmpty()) {
        delete m_busy;
        m_busy = nullptr;
        statusBar()->showMessage(QStringLiteral("Bereit"));
        return;
    }
    if (!m_busy) {
        m_busy = new QProgressBar(this);
        m_busy->setRange(0, 0); // no end known: a moving busy bar
        m_busy->setMaximumWidth(120);
        statusBar()->insertPermanentWidget(0, m_busy);
    }
    statusBar()->showMessage(text);
}

void CMainFrame::SetBusyProgress(int percent)
{
    if (!m_busy) return;
    m_busy->setRange(0, 100);
    m_busy->setValue(percent);
}

void CMainFrame::SetNotice(const QString& text)
{
    m_notice->setText(text);
    m_notice->setVisible(!text.isEmpty());
}

QString CMainFrame::Notice() const
{
    return m_notice->text();
}

void CMainFrame::HighlightCommand(int id, bool on)
{
    QAction* action = m_actions.value(id);
    if (!action) return;
    QFont font = action->font();
    font.setBold(on);
    action->setFont(font);
    QWidget* button = m_toolBar->widgetForAction(action);
    if (!button) return;
    // The style sheet picks the property up only when the button is polished again.
    button->setProperty("highlighted", on);
    button->style()->unpolish(button);
    button->style()->polish(button);
    button->update();
}

bool CMainFrame::CommandHighlighted(int id) const
{
    const QAction* action = m_actions.value(id);
    return action && action->font().bold();
}

int CMainFrame::PaneCharWidth()
{
    static const int width = [] {
        const QFontMetrics metrics(QApplication::font());
        int w = metrics.averageCharWidth();
        if (w <= 0) w = metrics.height() * 2 / 3;
        if (w <= 0) return 7;
        return std::min(w, 25);
    }();
    return width;
}

QLabel* CMainFrame::MakePane(int width)
{
    auto* pane = new QLabel(this);
    pane->setAlignment(Qt::AlignCenter);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    // The width is a minimum: a value text longer than its characters still shows whole.
    pane->setMinimumWidth(width < 0 ? -width * PaneCharWidth() : width);
    return pane;
}

int CMainFrame::SetPanes(const QList<int>& ids, const QList<int>& widths, int count)
{
    RemovePanes();
    if (count < 0)
        count = static_cast<int>(std::count_if(ids.begin(), ids.end(), [](int id) { return id != 0; }));
    count = std::min(count, kMaxSetPanes);
    for (int i = 0; i < count; ++i) {
        QLabel* pane = MakePane(i < widths.size() ? widths[i] : 50);
        statusBar()->insertPermanentWidget(static_cast<int>(m_panes.size()), pane);
        m_panes.append(pane);
    }
    return static_cast<int>(m_panes.size());
}

int CMainFrame::AddPanes(const QList<int>& ids, const QList<int>& widths, int count)
{
    if (count < 0)
        count = static_cast<int>(std::count_if(ids.begin(), ids.end(), [](int id) { return id != 0; }));
    count = std::min(count, kMaxPanes - 2 - static_cast<int>(m_panes.size()));
    if (count <= 0) return -1;
    for (int i = 0; i < count; ++i) {
        QLabel* pane = MakePane(i < widths.size() ? widths[i] : 50);
        statusBar()->insertPermanentWidget(static_cast<int>(m_panes.size()), pane);
        m_panes.append(pane);
    }
    const int handle = m_paneHandle;
    m_paneHandle = m_paneHandle >= 65535 ? 2 : m_paneHandle + 1;
    return handle;
}

int CMainFrame::RemovePanes()
{
    for (QLabel* pane : std::as_const(m_panes)) {
        statusBar()->removeWidget(pane);
        delete pane;
    }
    m_panes.clear();
    m_paneHandle = 2;
    return 1;
}

// Pane numbers count the message pane as 0, then the extra panes, then the indicator.
QLabel* CMainFrame::PaneAt(int index) const
{
    const int total = static_cast<int>(m_panes.size()) + 2;
    const int pane = index >= 0 ? index + 1 : total - 1 + index;
    if (pane <= 0 || pane >= total) return nullptr;
    return pane == total - 1 ? m_numIndicator : m_panes.value(pane - 1);
}

int CMainFrame::SetPaneText(int index, const QString& text, bool update, int background, int textColour)
{
    QLabel* pane = PaneAt(index);
    if (!pane) return 0;
    pane->setText(text);
    SetPaneColours(index, background, textColour);
    if (update) pane->repaint();
    return 1;
}

int CMainFrame::SetPaneColours(int index, int background, int textColour)
{
    QLabel* pane = PaneAt(index);
    if (!pane) return 0;
    if (background < 0 && textColour < 0) {
        pane->setAutoFillBackground(false);
        pane->setPalette(QPalette());
        return 1;
    }
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Window, ToColour(background, QApplication::palette().color(QPalette::Window)));
    palette.setColor(QPalette::WindowText,
                     ToColour(textColour, QApplication::palette().color(QPalette::WindowText)));
    pane->setAutoFillBackground(true);
    pane->setPalette(palette);
    return 1;
}

void CMainFrame::LoadSettings()
{
    CSettingsKey key;
    std::uint32_t flat = 1;
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead) &&
        key.OpenSub("Settings", true))
        key.ReadInt(flat, "FlatMode");
    m_flatMode = flat != 0;
}

void CMainFrame::SaveSettings() const
{
    CSettingsKey key;
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate) && key.OpenSub("Settings"))
        key.WriteInt(m_flatMode ? 1u : 0u, "FlatMode");
}

} // namespace dualvex
