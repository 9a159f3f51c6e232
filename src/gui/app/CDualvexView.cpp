#include "gui/app/CDualvexView.h"

#include "core/app/DiffNavigation.h"
#include "core/app/DoubleWindowLayout.h"
#include "core/app/OverviewStrip.h"
#include "core/app/TitleShortening.h"
#include "core/hexview/StatusDisplay.h"
#include "core/support/CSettingsKey.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/COpenFilesDialog.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/BackgroundJob.h"
#include "gui/support/CommandIds.h"
#include "gui/support/MessageSeam.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <memory>

namespace dualvex {

namespace {

constexpr int kTitleMargin = 12;
constexpr int kEdgeColumns = 4;

QString Caption()
{
    return QStringLiteral("Fehler");
}

std::optional<DiffMove> MoveFor(int id)
{
    switch (id) {
    case cmd::FirstDiff: return DiffMove::First;
    case cmd::PreviousDiff: return DiffMove::Previous;
    case cmd::NextDiff: return DiffMove::Next;
    case cmd::LastDiff: return DiffMove::Last;
    default: return std::nullopt;
    }
}

bool IsHexCommand(int id)
{
    switch (id) {
    case cmd::Copy:
    case cmd::Paste:
    case cmd::CopyCpp:
    case cmd::Checksum:
    case cmd::Find:
    case cmd::FindNext:
    case cmd::FindRange:
    case cmd::GotoAddress:
    case cmd::Calculator:
    case cmd::CrcCalculator:
    case cmd::FloatConverter:
    case cmd::InsertNumber:
    case cmd::CopyEscaped:
    case cmd::HexSettings:
    case cmd::Font:
    case cmd::Colours: return true;
    default: return false;
    }
}

} // namespace

CDualvexView::CDualvexView(CMainFrame* frame, QWidget* parent) : QWidget(parent), m_frame(frame)
{
    setObjectName(QStringLiteral("CDualvexView"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    LoadSettings();
    m_double = new HexDoubleWnd(this);
    m_double->SetModeBits(m_horizontalSplit ? HexDoubleWnd::kModeHorizontal : 0,
                          HexDoubleWnd::kModeHorizontal);
    for (int pane : {0, 1}) {
        CHexView* view = m_double->Pane(pane);
        connect(view, &CHexView::StatusChanged, this, [this](CHexView* v) { UpdateStatus(v, false); });
        connect(view, &CHexView::BackgroundWork, this, &CDualvexView::ShowBackgroundWork);
        connect(view, &CHexView::HexNotification, this, [this](CHexView* v, int code, HexNotify) {
            if (code == kNotifyFocusGained) ShowStatusPanes(v, true);
            if (code == kNotifyFocusLost) ShowStatusPanes(v, false);
        });
        view->installEventFilter(this);
    }
    connect(&m_watch, &CFileWatch::FileChanged, this, &CDualvexView::OnFileChanged);
}

CDualvexView::~CDualvexView()
{
    // The panes go after this object's own part: they must not call back into it.
    for (int pane : {0, 1}) {
        m_double->Pane(pane)->disconnect(this);
        m_double->Pane(pane)->removeEventFilter(this);
    }
    CancelLoad();
    if (m_worker && m_worker->joinable()) m_worker->join();
    EmptyPanes();
    SaveSettings();
}

void CDualvexView::LoadSettings()
{
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead)) return;
    // Stored as numbers: "ViewMode" 1 is the horizontal split, anything else side by side.
    std::int32_t mode = m_horizontalSplit ? 1 : 0;
    std::int32_t autoHex = m_flags.intelHexAuto ? 1 : 0;
    key.ReadInt(mode, "ViewMode");
    key.ReadInt(autoHex, "IntelHexAuto");
    m_horizontalSplit = mode == 1;
    m_flags.intelHexAuto = autoHex != 0;
    std::uint32_t autoReload = 0;
    if (key.OpenSub("Settings", true)) key.ReadInt(autoReload, "AutoReload");
    m_autoReload = autoReload != 0;
}

void CDualvexView::SaveSettings() const
{
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate)) return;
    key.WriteInt(m_horizontalSplit ? 1u : 0u, "ViewMode");
    key.WriteInt(m_flags.intelHexAuto ? 1u : 0u, "IntelHexAuto");
    if (key.OpenSub("Settings")) key.WriteInt(m_autoReload ? 1u : 0u, "AutoReload");
}

// ---- options -----------------------------------------------------------------------

void CDualvexView::SetShowTitles(bool on)
{
    m_showTitles = on;
    RefreshTitles();
}

void CDualvexView::SetIntelHexFlags(bool first, bool second, int automatic)
{
    m_flags.firstIsHex = first;
    m_flags.secondIsHex = second;
    // Start-up passes -1 or 1 unchanged: either way the load it starts asks nothing.
    m_flags.hexAutoOnce = automatic != 0;
}

void CDualvexView::SetHorizontalSplit(bool horizontal)
{
    if (horizontal != m_horizontalSplit) ToggleSplit();
}

void CDualvexView::SetTitle(int pane, const QString& title)
{
    (pane == 0 ? m_title1 : m_title2) = title;
    m_titlesFixed = true;
    RefreshTitles();
}

// ---- loading -----------------------------------------------------------------------

void CDualvexView::EmptyPanes()
{
    for (int pane : {0, 1}) {
        m_double->SetDiffBits(pane, nullptr);
        m_double->SetData(pane, nullptr, 0, 0);
    }
}

LoadFailure CDualvexView::Load(const QString& path1, const QString& path2)
{
    if (IsLoading()) return LoadFailure::None;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_lastPath1 = path1;
    m_lastPath2 = path2;
    // The state of the files now is what later change notices compare with; a
    // change while this load reads them is reported when it ends.
    m_changed = {};
    m_missing = {};
    m_watch.Watch(path1, path2);
    // The panes let go before the images do, so nothing ever shows released memory.
    EmptyPanes();
    m_image1.Release();
    m_image2.Release();
    const std::string p1 = path1.toStdString();
    const std::string p2 = path2.toStdString();
    const bool large = std::max(QFileInfo(path1).size(), QFileInfo(path2).size()) >=
                       static_cast<qint64>(kBackgroundLoadThreshold);
    if (large) {
        StartBackgroundLoad(p1, p2, AskedQuestion(path1, path2));
        QApplication::restoreOverrideCursor();
        return LoadFailure::None;
    }
    LoadFlags flags = m_flags;
    m_flags.firstIsHex = m_flags.secondIsHex = false;
    m_syncLoad = true;
    const LoadFailure result = FinishLoad(LoadAndCompare(p1, p2, flags, [this](const std::string& path) {
        return AskIntelHex(QString::fromStdString(path));
    }));
    m_syncLoad = false;
    QApplication::restoreOverrideCursor();
    AfterLoad();
    return result;
}

bool CDualvexView::AskIntelHex(const QString& path)
{
    return MessageSeam::Ask(
               this, QMessageBox::Question, QStringLiteral("Frage"),
               QStringLiteral("Soll die Datei %1 im Intel-Hex-Format geladen werden ?").arg(path),
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

// A background load cannot show a box: the questions are asked here, first.
IntelHexQuestion CDualvexView::AskedQuestion(const QString& path1, const QString& path2)
{
    auto answers = std::make_shared<std::vector<std::pair<std::string, bool>>>();
    const bool automatic = m_flags.intelHexAuto || m_flags.hexAutoOnce;
    for (const QString& path : {path1, path2}) {
        if (automatic || ExtensionInList(path.toStdString(), kIntelHexExtensions) == 0) continue;
        answers->emplace_back(path.toStdString(), AskIntelHex(path));
    }
    return [answers](const std::string& path) {
        for (auto& [asked, yes] : *answers)
            if (asked == path) return yes;
        return false;
    };
}

void CDualvexView::StartBackgroundLoad(const std::string& p1, const std::string& p2,
                                       const IntelHexQuestion& ask)
{
    LoadFlags flags = m_flags;
    m_flags.firstIsHex = m_flags.secondIsHex = false;
    m_cancel = false;
    m_frame->SetBusy(QStringLiteral("Lade und vergleiche die Dateien ... (Esc bricht ab)"));
    m_worker = std::make_unique<std::thread>([this, p1, p2, flags, ask] {
        auto outcome = std::make_shared<LoadOutcome>(LoadAndCompare(p1, p2, flags, ask, &m_cancel));
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
                m_worker->join();
                m_worker.reset();
                m_frame->SetBusy(QString());
                const LoadFailure result = FinishLoad(std::move(*outcome));
                ReportLoadFailure(result, m_lastPath1, m_lastPath2, m_numberedMessages);
                AfterLoad();
                emit LoadFinished(result);
            },
            Qt::QueuedConnection);
    });
}

void CDualvexView::CancelLoad()
{
    m_cancel = true;
}

LoadFailure CDualvexView::FinishLoad(LoadOutcome outcome)
{
    if (outcome.failed != LoadFailure::None) {
        // The panes stay empty; nothing of this load is kept, and no title names a
        // file that is no longer shown (fixed titles from the command line stay).
        m_diff = DiffSet();
        m_double->SetPaths(QString(), QString());
        if (!m_titlesFixed) m_title1 = m_title2 = QString();
        RefreshTitles();
        update();
        return outcome.failed;
    }
    m_image1 = std::move(outcome.first);
    m_image2 = std::move(outcome.second);
    m_changeNoticed = false;
    m_flags.hexAutoOnce = false;
    DiffSet previous = std::move(m_diff);
    m_diff = std::move(outcome.diff);
    ShowComparison();
    previous = DiffSet(); // released only after the panes hold the new set
    if (!m_titlesFixed) {
        m_title1 = m_lastPath1;
        m_title2 = m_lastPath2;
    }
    m_double->SetPaths(m_lastPath1, m_lastPath2);
    RefreshTitles();
    update();
    ShowIntelHexDefects(outcome.firstDefects, outcome.secondDefects);
    ScheduleChangeCheck(); // the comparison itself may have run into a truncated file
    if (m_jumpToFirst) {
        m_jumpToFirst = false;
        QTimer::singleShot(0, this, [this] { OnCommand(cmd::FirstDiff); });
    }
    emit ComparisonShown();
    return LoadFailure::None;
}

// Bad Intel-HEX lines do not stop a load, but the user learns of them.
void CDualvexView::ShowIntelHexDefects(const IntelHexDefects& first, const IntelHexDefects& second)
{
    QStringList warnings;
    for (const auto& [path, defects] : {std::pair{&m_lastPath1, &first}, std::pair{&m_lastPath2, &second}}) {
        const std::string text = IntelHexWarning(path->toStdString(), *defects);
        if (!text.empty()) warnings << QString::fromStdString(text);
    }
    m_intelHexWarning = warnings.join(QLatin1Char(' '));
    if (!m_intelHexWarning.isEmpty()) m_frame->statusBar()->showMessage(m_intelHexWarning);
}

bool CDualvexView::eventFilter(QObject* watched, QEvent* event)
{
    // Painting is what reads a mapped image; a truncated file shows up right after.
    if (event->type() == QEvent::Paint) ScheduleChangeCheck();
    return QWidget::eventFilter(watched, event);
}

void CDualvexView::ScheduleChangeCheck()
{
    if (m_changeCheckPending || m_changeNoticed) return;
    m_changeCheckPending = true;
    QTimer::singleShot(0, this, [this] {
        m_changeCheckPending = false;
        CheckChangedOnDisk();
    });
}

// A mapped file that another process truncated reads as zeros past its new end
// instead of ending the program; the user is told and may load it again.
void CDualvexView::CheckChangedOnDisk()
{
    if (m_changeNoticed || IsLoading()) return;
    const QString* path = m_image1.Faulted() ? &m_lastPath1 : m_image2.Faulted() ? &m_lastPath2 : nullptr;
    if (path == nullptr) return;
    m_changeNoticed = true;
    const QString text =
        QStringLiteral("Die Datei %1 wurde auf der Festplatte geändert; die Anzeige stimmt nicht mehr. "
                       "Sollen die Dateien neu geladen werden ?")
            .arg(*path);
    emit ChangedOnDisk(*path);
    if (MessageSeam::Ask(this, QMessageBox::Question, QStringLiteral("Frage"), text,
                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        Reload();
}

void CDualvexView::ShowComparison()
{
    m_double->SetData(0, m_image1.Data(), m_image1.Length(), 0);
    m_double->SetData(1, m_image2.Data(), m_image2.Length(), 0);
    for (int pane : {0, 1}) m_double->SetDiffBits(pane, m_diff.Bits());
}

void CDualvexView::ReportLoadFailure(LoadFailure result, const QString& path1, const QString& path2,
                                     bool numbered)
{
    if (result == LoadFailure::None || result == LoadFailure::Cancelled) {
        if (result == LoadFailure::Cancelled)
            MessageSeam::Ask(this, QMessageBox::Information, QStringLiteral("Dualvex"),
                             QStringLiteral("Das Laden wurde abgebrochen."));
        return;
    }
    QString text;
    const QString path = result == LoadFailure::First ? path1 : path2;
    if (result == LoadFailure::NoMemory)
        text = QStringLiteral("Nicht genug Speicher für den Vergleich !");
    else if (QFileInfo(path).size() >= (qint64{1} << 32))
        text = QString::fromStdString(LoadErrorMessage(LoadStatus::TooLarge, path.toStdString()));
    else if (!numbered)
        text = QStringLiteral("Die Datei %1 konnte nicht geöffnet werden !").arg(path);
    else if (result == LoadFailure::First)
        text = QStringLiteral("Die erste Datei %1 konnte nicht geöffnet werden !").arg(path);
    else
        text = QStringLiteral("Die zweite Datei %1 konnte nicht geöffnet werden !").arg(path);
    MessageSeam::Ask(this, QMessageBox::Critical, Caption(), text);
}

// ---- titles and layout -------------------------------------------------------------

void CDualvexView::RefreshTitles()
{
    if (!m_showTitles) {
        m_double->SetTitle(0, QString());
        m_double->SetTitle(1, QString());
        return;
    }
    const int available = (m_horizontalSplit ? width() : width() / 2) - kTitleMargin;
    const QFontMetrics metrics(m_double->TitleBar(0)->font());
    const auto measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    };
    m_double->SetTitle(0, QString::fromStdString(ShortenPath(m_title1.toStdString(), available, measure)));
    m_double->SetTitle(1, QString::fromStdString(ShortenPath(m_title2.toStdString(), available, measure)));
}

void CDualvexView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (width() == 0 || height() == 0) return;
    m_stripLeft = OverviewStripLeft(width());
    m_double->setGeometry(0, 0, m_stripLeft, height());
    RefreshTitles();
}

void CDualvexView::focusInEvent(QFocusEvent*)
{
    m_double->FocusActivePane();
}

// ---- dropped files -----------------------------------------------------------------

void CDualvexView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !IsLoading()) event->acceptProposedAction();
}

// Two files replace both sides; one file replaces the side of the pane it fell on.
void CDualvexView::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (paths.isEmpty() || IsLoading()) return;
    event->acceptProposedAction();
    QString first = m_lastPath1;
    QString second = m_lastPath2;
    if (paths.size() >= 2) {
        first = paths[0];
        second = paths[1];
    } else {
        const QPoint at = m_double->mapFrom(this, event->position().toPoint());
        (m_double->PaneAt(at) == 0 ? first : second) = paths[0];
    }
    if (first != m_lastPath1 || second != m_lastPath2) m_titlesFixed = false;
    if (first.isEmpty() || second.isEmpty()) {
        // Only one side known so far: remember it for the next drop or the open dialog.
        m_lastPath1 = first;
        m_lastPath2 = second;
        return;
    }
    LoadAndReport(first, second, true);
}

// ---- overview strip ----------------------------------------------------------------

void CDualvexView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintStrip(painter);
}

void CDualvexView::PaintStrip(QPainter& painter)
{
    if (height() == 0) return;
    const QPalette& pal = palette();
    const QColor edge[kEdgeColumns] = {pal.color(QPalette::Light), Qt::white, pal.color(QPalette::Button),
                                       pal.color(QPalette::Dark)};
    for (int i = 0; i < kEdgeColumns; ++i) painter.fillRect(m_stripLeft - 1 + i, 0, 1, height(), edge[i]);
    const int left = m_stripLeft + 3;
    const QColor differing = pal.color(QPalette::Highlight);
    const QColor equal = pal.color(QPalette::Mid);
    for (const StripRun& run : OverviewStripRuns(m_diff.Summary().buckets, height()))
        painter.fillRect(left, run.top, width() - left, run.bottom - run.top,
                         run.differing ? differing : equal);
}

void CDualvexView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton || p.x() < m_stripLeft + 3 || height() == 0) return;
    const DiffSummary& s = m_diff.Summary();
    const auto bucket = static_cast<std::uint64_t>(OverviewBucketAt(p.y(), height()));
    const auto position =
        static_cast<HexPos>(bucket * s.scaleDenominator / std::max<std::uint32_t>(s.scaleNumerator, 1));
    m_double->SetFirstVisibleBoth(std::max<HexPos>(0, position - m_double->VisibleByteCount(0) / 2));
    m_double->SetCursorBoth(position);
}

// ---- commands ----------------------------------------------------------------------

void CDualvexView::Navigate(int id)
{
    const std::optional<DiffMove> move = MoveFor(id);
    if (!move) return;
    const ImageLength cursor = ToImagePosition(NavigationPosition());
    const std::optional<ImageLength> target = NavigateDiff(m_diff, *move, cursor);
    if (target) m_double->SetCursorBoth(ToHexPos(*target));
}

// Positions are taken over the longer image: a jump past the end of the shorter pane
// leaves that pane's cursor on its last byte, and the longer pane's says where the walk
// stands.
HexPos CDualvexView::NavigationPosition() const
{
    const int active = m_double->ActivePane();
    const HexPos own = m_double->CurrentPosition(active);
    const HexPos other = m_double->CurrentPosition(1 - active);
    const HexPos lastByte = m_double->Pane(active)->Core().Length() - 1;
    return own >= lastByte && other > own ? other : own;
}

// With DUALVEX_TRACE_NAVIGATION set, every navigation command writes the state a user
// sees to stderr once the event loop has settled it: the script that drives the
// program through a real X server checks these lines against its screenshots.
void CDualvexView::TraceNavigation(int id)
{
    if (qEnvironmentVariableIsEmpty("DUALVEX_TRACE_NAVIGATION")) return;
    QTimer::singleShot(0, this, [this, id] {
        const QString status = m_frame->ExtraPaneCount() > 0 ? m_frame->ExtraPane(0)->text() : QString();
        std::fprintf(stderr,
                     "navigation %d: top0=0x%llX top1=0x%llX cursor0=0x%llX cursor1=0x%llX status=\"%s\"\n",
                     id, static_cast<unsigned long long>(m_double->FirstVisible(0)),
                     static_cast<unsigned long long>(m_double->FirstVisible(1)),
                     static_cast<unsigned long long>(m_double->Pane(0)->GetCursorPos(false)),
                     static_cast<unsigned long long>(m_double->Pane(1)->GetCursorPos(false)),
                     status.toUtf8().constData());
        std::fflush(stderr);
    });
}

void CDualvexView::ShowCurrent()
{
    if (m_diff.Summary().rangeCount == 0) return;
    const HexPos position = m_double->CurrentPosition(0);
    const HexPos first = m_double->FirstVisible(0);
    if (position >= first && position < first + m_double->VisibleByteCount(0)) return;
    m_double->SetFirstVisibleBoth(position);
}

void CDualvexView::ToggleSplit()
{
    m_horizontalSplit = !m_horizontalSplit;
    m_double->SetModeBits(m_horizontalSplit ? HexDoubleWnd::kModeHorizontal : 0,
                          HexDoubleWnd::kModeHorizontal);
    RefreshTitles();
}

void CDualvexView::OpenFiles()
{
    COpenFilesDialog::Fields fields{m_lastPath1, m_lastPath2, m_flags.intelHexAuto, m_flags.firstIsHex,
                                    m_flags.secondIsHex};
    COpenFilesDialog dialog(fields, false, this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    m_frame->show();
    if (!ok) return;
    const COpenFilesDialog::Fields& chosen = dialog.Result();
    if (chosen.secondPath != m_lastPath2) m_titlesFixed = false;
    m_flags.intelHexAuto = chosen.automatic;
    m_flags.firstIsHex = chosen.firstIsHex;
    m_flags.secondIsHex = chosen.secondIsHex;
    m_flags.hexAutoOnce = false;
    LoadAndReport(chosen.firstPath, chosen.secondPath, true);
}

void CDualvexView::Reload()
{
    if (m_lastPath1.isEmpty() || m_lastPath2.isEmpty()) return;
    LoadAndReport(m_lastPath1, m_lastPath2, true);
}

// ---- files changed on disk ---------------------------------------------------------

void CDualvexView::OnFileChanged(int pane, bool exists)
{
    m_changed[static_cast<std::size_t>(pane)] = true;
    m_missing[static_cast<std::size_t>(pane)] = !exists;
    // A running load is never interrupted: AfterLoad looks at the change.
    if (!LoadRunning()) NoticeChanges();
}

void CDualvexView::AfterLoad()
{
    if (m_changed[0] || m_changed[1]) {
        QTimer::singleShot(0, this, [this] { NoticeChanges(); });
        return;
    }
    m_frame->SetNotice(QString());
    m_frame->HighlightCommand(cmd::Reload, false);
}

void CDualvexView::NoticeChanges()
{
    if (LoadRunning() || !(m_changed[0] || m_changed[1])) return;
    QStringList parts;
    for (std::size_t pane : {0u, 1u}) {
        if (!m_changed[pane]) continue;
        const QString path = m_watch.Path(static_cast<int>(pane));
        parts << (m_missing[pane] ? QStringLiteral("Die Datei %1 fehlt.").arg(path)
                                  : QStringLiteral("Die Datei %1 wurde geändert.").arg(path));
    }
    m_frame->SetNotice(parts.join(QLatin1Char(' ')));
    m_frame->HighlightCommand(cmd::Reload, true);
    if (m_autoReload) ReloadChanged();
}

// Reloads on its own only once both files are there again, and never under an open
// dialog or box (a question of a load, or the open dialog choosing other files) or
// while a tool reads the data: then it tries again shortly.
void CDualvexView::ReloadChanged()
{
    if (m_missing[0] || m_missing[1] || m_reloadPending) return;
    if (LoadRunning() || m_toolWork > 0 || QApplication::activeModalWidget()) {
        m_reloadPending = true;
        QTimer::singleShot(CFileWatch::kSettleMs, this, [this] {
            m_reloadPending = false;
            if (m_autoReload && (m_changed[0] || m_changed[1]) && !IsLoading()) ReloadChanged();
        });
        return;
    }
    Reload();
}

void CDualvexView::LoadAndReport(const QString& path1, const QString& path2, bool numbered)
{
    m_numberedMessages = numbered;
    const LoadFailure result = Load(path1, path2);
    if (!IsLoading()) ReportLoadFailure(result, path1, path2, numbered);
}

bool CDualvexView::OnCommand(int id)
{
    ScheduleChangeCheck(); // a command may have read a truncated mapped file
    if (id == cmd::Exit) {
        if (!IsLoading()) return false;
        CancelLoad();
        return true;
    }
    if (id == cmd::AutoReload) {
        m_autoReload = !m_autoReload;
        if (m_autoReload) NoticeChanges();
        return true;
    }
    if (IsLoading()) return false;
    switch (id) {
    case cmd::Open: OpenFiles(); return true;
    case cmd::Reload: Reload(); return true;
    case cmd::SplitHorizontal: ToggleSplit(); return true;
    case cmd::CurrentDiff:
        ShowCurrent();
        TraceNavigation(id);
        return true;
    case cmd::NextPane:
    case cmd::PreviousPane: m_double->Pane(1 - m_double->ActivePane())->setFocus(); return true;
    default: break;
    }
    if (MoveFor(id)) {
        Navigate(id);
        TraceNavigation(id);
        return true;
    }
    if (id == cmd::Font || id == cmd::Colours) {
        CHexView* pane = m_double->Pane(0);
        if (id == cmd::Font)
            pane->FontDialog();
        else
            pane->OnColorsDialog();
        return true;
    }
    return IsHexCommand(id) && m_double->RunPaneCommand(id);
}

bool CDualvexView::OnUpdateCommand(int id, CommandState& state)
{
    if (id == cmd::AutoReload) {
        state.checked = m_autoReload;
        return true;
    }
    if (IsLoading()) {
        state.enabled = false;
        return true;
    }
    const DiffSummary& s = m_diff.Summary();
    const ImageLength cursor = ToImagePosition(NavigationPosition());
    if (const std::optional<DiffMove> move = MoveFor(id)) {
        state.enabled = DiffMoveEnabled(s, *move, cursor);
        return true;
    }
    switch (id) {
    case cmd::CurrentDiff: state.enabled = s.rangeCount > 0; return true;
    case cmd::SplitHorizontal: state.checked = m_horizontalSplit; return true;
    case cmd::Reload: state.enabled = !m_lastPath1.isEmpty() && !m_lastPath2.isEmpty(); return true;
    case cmd::Open:
    case cmd::NextPane:
    case cmd::PreviousPane:
    case cmd::Font:
    case cmd::Colours: return true;
    default: break;
    }
    if (!IsHexCommand(id)) return false;
    CHexView* pane = m_double->Pane(m_double->ActivePane());
    // A command the pane cannot carry out is greyed, never left to do nothing.
    if (!pane->OnUpdateCommand(id, state)) state.enabled = false;
    return true;
}

// A tool or search working through large data shows its progress in the status bar
// until it ends; Escape stops it (the tool dialogs close on it, the search holds the
// other input back). No reload replaces the data under it meanwhile.
void CDualvexView::ShowBackgroundWork(BackgroundJob* job)
{
    if (!job->IsRunning()) return; // small data is done before the dialog shows
    ++m_toolWork;
    m_frame->SetBusy(job->Caption());
    connect(job, &BackgroundJob::progress, this, [this](int percent) { m_frame->SetBusyProgress(percent); });
    auto ended = std::make_shared<bool>(false);
    const auto end = [this, ended] {
        if (*ended) return;
        *ended = true;
        --m_toolWork;
        m_frame->SetBusy(QString());
    };
    connect(job, &BackgroundJob::finished, this, end);
    connect(job, &QObject::destroyed, this, end);
}

// ---- status bar --------------------------------------------------------------------

void CDualvexView::ShowStatusPanes(CHexView* pane, bool focused)
{
    m_statusShown = focused;
    if (!focused) {
        m_frame->SetPanes({}, {}, 0);
        return;
    }
    m_frame->SetPanes({0, 0}, {-20, -23}, 2);
    UpdateStatus(pane, true);
}

void CDualvexView::UpdateStatus(CHexView* pane, bool force)
{
    if (!m_statusShown || !pane->hasFocus()) return;
    const int index = pane == m_double->Pane(0) ? 0 : 1;
    const MemoryImage& image = index == 0 ? m_image1 : m_image2;
    StatusInput in;
    in.data = image.Data();
    in.length = pane->Core().Length();
    in.base = pane->Core().Base();
    in.cursor = pane->GetCursorPos(false);
    in.selection = pane->HasSelection();
    in.anchor = pane->GetSelectionStart(false);
    in.end = in.cursor;
    in.mode = static_cast<std::uint32_t>(pane->GetSetting(kSettingStatusMode));
    const std::string address = StatusAddressText(in);
    if (force || address != m_lastStatusAddress) {
        m_frame->SetPaneText(0, QString::fromStdString(address), true, -1, -1);
        m_lastStatusAddress = address;
    }
    const std::int64_t value = StatusValue(in);
    if (force || value != m_lastStatusValue) {
        m_frame->SetPaneText(1, QString::fromStdString(StatusValueText(value, in.mode)), true, -1, -1);
        m_lastStatusValue = value;
    }
}

} // namespace dualvex
