// The program's top-level window: menus, tool bar, status bar with its extra-pane
// service, stay-on-top, flat tool bar, and the help and about boxes.
#pragma once

#include "gui/support/CommandTarget.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;
class QToolBar;

namespace dualvex {

class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The view that receives the commands the frame does not handle itself.
    void SetCommandTarget(CommandTarget* target) { m_target = target; }
    // The action of a command id, or nullptr.
    QAction* Action(int id) const { return m_actions.value(id); }
    // Runs a command as the menu would, when it is enabled; returns whether it ran.
    bool RunCommand(int id);
    // Refreshes enabled and checked states of the given actions (all when empty).
    void UpdateCommandStates(const QList<QAction*>& actions = {});

    // A busy indicator with a text in the status bar; an empty text removes it.
    void SetBusy(const QString& text);
    // Turns the busy indicator into a bar at this percentage.
    void SetBusyProgress(int percent);

    // A lasting notice in the status bar (a compared file changed on disk); an empty
    // text removes it.
    void SetNotice(const QString& text);
    QString Notice() const;
    // Draws attention to a command in the menu and on the tool bar.
    void HighlightCommand(int id, bool on);
    bool CommandHighlighted(int id) const;

    bool FlatMode() const { return m_flatMode; }
    bool StayOnTop() const { return m_stayOnTop; }
    QToolBar* ToolBar() const { return m_toolBar; }

    // Extra status-bar panes (the status-pane service). Widths in pixels; a negative
    // width counts characters. Return values follow the service's results.
    static constexpr int kServiceAvailable = 0x12345678;
    static constexpr int kMinimumWidth = 560;
    static constexpr int kMinimumHeight = 360;
    int QueryPaneService() const { return kServiceAvailable; }
    int SetPanes(const QList<int>& ids, const QList<int>& widths, int count);
    int SetPaneText(int index, const QString& text, bool update, int background, int textColour);
    int RemovePanes();
    int AddPanes(const QList<int>& ids, const QList<int>& widths, int count);
    int SetPaneColours(int index, int background, int textColour);
    int ExtraPaneCount() const { return static_cast<int>(m_panes.size()); }
    QLabel* ExtraPane(int index) const { return m_panes.value(index); }
    static int PaneCharWidth();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void RestoreFocus();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QMenu* AddMenu(const QString& title, const QList<int>& ids);
    void Dispatch(int id);
    bool HandleOwnCommand(int id);
    bool UpdateOwnCommand(int id, CommandState& state) const;
    void ToggleStayOnTop();
    void ToggleFlatMode();
    void ShowSyntaxHelp();
    void ShowAbout();
    QLabel* MakePane(int width);
    QLabel* PaneAt(int index) const;
    void LoadSettings();
    void SaveSettings() const;

    CommandTarget* m_target = nullptr;
    QHash<int, QAction*> m_actions;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_numIndicator = nullptr;
    QLabel* m_notice = nullptr;
    QProgressBar* m_busy = nullptr;
    QList<QLabel*> m_panes;
    int m_paneHandle = 2;
    QTimer* m_idleTimer = nullptr;
    bool m_flatMode = true;
    bool m_stayOnTop = false;
    QPointer<QWidget> m_focusToRestore; // given back when the re-created window is active again
};

} // namespace dualvex
