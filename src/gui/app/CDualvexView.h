// The view of the main window: it owns everything that is compared (both memory
// images and the difference set), shows them in the double hex window with the
// overview strip at its right edge, and carries the load, navigation and split
// commands. Hex commands go on to the pane that had the focus last.
#pragma once

#include "core/app/DiffSet.h"
#include "core/app/ImageLoad.h"
#include "core/app/LoadAndCompare.h"
#include "core/hexview/HexTypes.h"
#include "gui/app/CFileWatch.h"
#include "gui/support/CommandTarget.h"

#include <QString>
#include <QWidget>

#include <array>
#include <atomic>
#include <memory>
#include <thread>

namespace dualvex {

class BackgroundJob;
class CMainFrame;
class CHexView;
class HexDoubleWnd;

class CDualvexView : public QWidget, public CommandTarget {
    Q_OBJECT
  public:
    explicit CDualvexView(CMainFrame* frame, QWidget* parent = nullptr);
    ~CDualvexView() override;
    CDualvexView(const CDualvexView&) = delete;
    CDualvexView& operator=(const CDualvexView&) = delete;

    // Options from start-up, in this order.
    void SetJumpToFirst(bool on) { m_jumpToFirst = on; }
    void SetShowTitles(bool on);
    void SetIntelHexFlags(bool first, bool second, int automatic);
    void SetHorizontalSplit(bool horizontal);
    void SetTitle(int pane, const QString& title);

    // Loads and compares; returns which part failed, if any. Large files load in the
    // background: then the result is None and LoadFinished reports the outcome.
    LoadFailure Load(const QString& path1, const QString& path2);
    bool IsLoading() const { return m_worker != nullptr; }
    void CancelLoad();
    // Shows the message for a failed load: start-up names "Die Datei", the open and
    // reload commands the first or second file.
    void ReportLoadFailure(LoadFailure result, const QString& path1, const QString& path2, bool numbered);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

    HexDoubleWnd* DoubleWindow() const { return m_double; }
    const DiffSummary& Summary() const { return m_diff.Summary(); }
    bool HorizontalSplit() const { return m_horizontalSplit; }
    int StripLeft() const { return m_stripLeft; }
    const QString& LastPath(int pane) const { return pane == 0 ? m_lastPath1 : m_lastPath2; }
    bool IntelHexAuto() const { return m_flags.intelHexAuto; }
    // "Automatisch neu laden": a file changed on disk is loaded again at once.
    bool AutoReload() const { return m_autoReload; }
    const CFileWatch& FileWatch() const { return m_watch; }
    // The warning about bad Intel-HEX lines of the last load; empty when there were none.
    const QString& IntelHexWarningText() const { return m_intelHexWarning; }

  signals:
    // A background load ended.
    void LoadFinished(dualvex::LoadFailure result);
    // Both panes show a new comparison (or were emptied).
    void ComparisonShown();
    // A mapped file was truncated under us; its pane shows zeros past the new end.
    void ChangedOnDisk(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool AskIntelHex(const QString& path);
    IntelHexQuestion AskedQuestion(const QString& path1, const QString& path2);
    void StartBackgroundLoad(const std::string& p1, const std::string& p2, const IntelHexQuestion& ask);
    LoadFailure FinishLoad(LoadOutcome outcome);
    void ShowComparison();
    void ShowIntelHexDefects(const IntelHexDefects& first, const IntelHexDefects& second);
    void ScheduleChangeCheck();
    void CheckChangedOnDisk();
    void EmptyPanes();
    void RefreshTitles();
    void Navigate(int id);
    HexPos NavigationPosition() const;
    void TraceNavigation(int id);
    void ShowCurrent();
    void ToggleSplit();
    void OpenFiles();
    void Reload();
    void LoadAndReport(const QString& path1, const QString& path2, bool numbered);
    bool LoadRunning() const { return m_syncLoad || IsLoading(); }
    void OnFileChanged(int pane, bool exists);
    void AfterLoad();
    void NoticeChanges();
    void ReloadChanged();
    void ShowStatusPanes(CHexView* pane, bool focused);
    void ShowBackgroundWork(BackgroundJob* job);
    void UpdateStatus(CHexView* pane, bool force);
    void PaintStrip(QPainter& painter);
    void LoadSettings();
    void SaveSettings() const;

    CMainFrame* m_frame = nullptr;
    HexDoubleWnd* m_double = nullptr;
    MemoryImage m_image1;
    MemoryImage m_image2;
    DiffSet m_diff;
    LoadFlags m_flags;
    QString m_lastPath1;
    QString m_lastPath2;
    QString m_title1;
    QString m_title2;
    bool m_titlesFixed = false;
    bool m_jumpToFirst = false;
    bool m_showTitles = true;
    bool m_horizontalSplit = false;
    int m_stripLeft = 0;
    std::unique_ptr<std::thread> m_worker;
    std::atomic<bool> m_cancel{false};
    bool m_numberedMessages = false;
    bool m_syncLoad = false; // a load on this thread, which may show a question box
    CFileWatch m_watch;
    std::array<bool, 2> m_changed{};
    std::array<bool, 2> m_missing{};
    bool m_autoReload = false;
    bool m_reloadPending = false;
    int m_toolWork = 0; // tools and searches reading the data on a worker
    bool m_changeCheckPending = false;
    bool m_changeNoticed = false; // told once per load
    QString m_intelHexWarning;
    bool m_statusShown = false;
    std::string m_lastStatusAddress;
    std::int64_t m_lastStatusValue = 0;
};

} // namespace dualvex
