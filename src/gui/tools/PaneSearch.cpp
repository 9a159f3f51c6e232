#include "gui/tools/PaneSearch.h"

#include "core/tools/GotoAddress.h"
#include "core/tools/SearchEntry.h"
#include "gui/support/InputBlocker.h"
#include "gui/support/MessageSeam.h"
#include "gui/tools/FindDialog.h"
#include "gui/tools/GotoDialog.h"

#include <QApplication>
#include <QEventLoop>

#include <algorithm>
#include <memory>

namespace dualvex {

namespace {

int RunFindDialog(QWidget* parent, SearchState& state, const QString& initialText)
{
    FindDialog dialog(state, initialText, parent);
    return dialog.exec();
}

std::optional<std::uint32_t> RunGotoDialog(QWidget* parent, const QString& initialText, TextList& history)
{
    GotoDialog dialog(initialText, history, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Address();
}

} // namespace

PaneSearch::PaneSearch(SearchPane& pane, SearchState& state, std::size_t backgroundBytes)
    : m_pane(pane), m_state(state), m_backgroundBytes(backgroundBytes), m_findRunner(RunFindDialog),
      m_gotoRunner(RunGotoDialog)
{
}

void PaneSearch::SetBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

QString PaneSearch::SelectionText() const
{
    const std::optional<SelectionRange> selection = m_pane.Selection();
    if (!selection) return {};
    const auto size = static_cast<std::size_t>(selection->last - selection->first + 1);
    const auto bytes = m_pane.Data().subspan(static_cast<std::size_t>(selection->first),
                                             std::min<std::size_t>(size, kRangeSearchMaxBytes));
    return QString::fromStdString(SelectionValueText(bytes));
}

void PaneSearch::NoteSelection()
{
    if (m_pane.Selection()) {
        m_state.flags |= kFindHasSelection;
    } else {
        m_state.flags &= ~std::uint32_t{kFindHasSelection};
    }
}

bool PaneSearch::Find()
{
    QString initial = SelectionText();
    for (;;) {
        NoteSelection();
        const int outcome = m_findRunner(m_pane.Widget(), m_state, initial);
        if (outcome != QDialog::Accepted && outcome != FindDialog::kSearchAgain) return false;
        const bool found = SearchWithFlags();
        if (outcome != FindDialog::kSearchAgain) return found;
        // The dialog comes back with the value just searched, now the latest history
        // entry, and the selection of the match.
        initial.clear();
    }
}

bool PaneSearch::SearchWithFlags()
{
    const FindScans scans = ScanForFind(m_state.flags, m_pane.Cursor(), Length(), m_pane.Selection());
    std::optional<ListResult> result = RunList(scans.first);
    if (result && result->position < 0 && scans.rest) result = RunList(*scans.rest);
    if (!result) return false;
    ShowListResult(*this, *result);
    if (result->position < 0) NotFound(QMessageBox::NoIcon);
    return result->position >= 0;
}

bool PaneSearch::FindNext()
{
    if (!m_state.HasActiveList()) return Find();
    const HexPos cursor = m_pane.Cursor();
    std::optional<ListResult> result = RunList({cursor + 1, Length()});
    if (!result) return false;
    ShowListResult(*this, *result);
    // Empty data has no start to go back to; the question would only lead to the
    // same miss.
    if (result->position < 0 && cursor >= 0 && Length() > 0) {
        if (MessageSeam::Ask(m_pane.Widget(), QMessageBox::Question, QStringLiteral("Dualvex"),
                             QStringLiteral("Ende erreicht. Am Anfang weiter suchen ?"),
                             QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return false;
        result = RunList({0, cursor + 1});
        if (!result) return false;
        ShowListResult(*this, *result);
    }
    if (result->position < 0) NotFound(QMessageBox::Information);
    return result->position >= 0;
}

bool PaneSearch::RangeSearch()
{
    const std::optional<SelectionRange> selection = m_pane.Selection();
    if (!selection) return Find();
    const auto size = static_cast<std::size_t>(selection->last - selection->first + 1);
    PrepareRangeSearch(m_state, m_pane.Data().subspan(static_cast<std::size_t>(selection->first), size));
    m_pane.SetCursorPos(selection->first);
    return FindNext();
}

HexPos PaneSearch::GoTo()
{
    const std::span<const std::uint8_t> data = m_pane.Data();
    std::optional<std::span<const std::uint8_t>> selected;
    if (const std::optional<SelectionRange> selection = m_pane.Selection()) {
        const auto size = static_cast<std::size_t>(selection->last - selection->first + 1);
        selected = data.subspan(static_cast<std::size_t>(selection->first), std::min<std::size_t>(size, 8));
    }
    const std::uint64_t base = m_pane.BaseAddress();
    const QString initial = QString::fromStdString(GotoInitialText(selected, base, m_pane.Cursor()));
    const std::optional<std::uint32_t> address = m_gotoRunner(m_pane.Widget(), initial, m_gotoHistory);
    if (!address) return -1;
    const std::optional<HexPos> offset = GotoOffset(*address, base, Length());
    if (!offset) return -1;
    m_pane.SetCursorPos(*offset);
    return static_cast<HexPos>(base) + *offset;
}

std::optional<ListResult> PaneSearch::RunList(const Scan& scan)
{
    if (m_pane.Data().size() >= m_backgroundBytes) return RunInBackground(scan);
    SetBusy(true);
    ListResult result = FindListIn(m_pane.Data(), m_state.activeList, scan.from, scan.count,
                                   (m_state.flags & kFindOrdered) != 0);
    SetBusy(false);
    return result;
}

// The worker gets its own copy of the list; the data stays put because input is held
// back until the search ends (and a reload waits while the pane shows the work).
std::optional<ListResult> PaneSearch::RunInBackground(const Scan& scan)
{
    auto result = std::make_shared<std::optional<ListResult>>();
    const std::span<const std::uint8_t> data = m_pane.Data();
    const TextList list = m_state.activeList;
    const bool ordered = (m_state.flags & kFindOrdered) != 0;
    BackgroundJob job;
    job.SetCaption(QStringLiteral("Suche läuft ... (Esc bricht ab)"));
    QEventLoop loop;
    bool cancelled = false;
    QObject::connect(&job, &BackgroundJob::finished, &loop, [&loop, &cancelled](bool stopped) {
        cancelled = stopped;
        loop.quit();
    });
    const InputBlocker blocker([&job] { job.Cancel(); });
    job.Start([result, data, list, scan, ordered, gate = m_workerGate](const WorkObserver& observer) {
        if (gate) gate();
        *result = FindListObserved(data, list, scan.from, scan.count, ordered, observer);
        return result->has_value();
    });
    m_pane.ShowWork(job);
    SetBusy(true);
    loop.exec();
    SetBusy(false);
    // The loop also ends when the program quits (its window closed meanwhile): the
    // worker is then stopped, and the job's end waits for it, before the result is read.
    if (job.IsRunning()) return std::nullopt;
    if (cancelled || !*result) return std::nullopt;
    return **result;
}

void PaneSearch::NotFound(QMessageBox::Icon icon)
{
    MessageSeam::Ask(m_pane.Widget(), icon, QStringLiteral("Dualvex"),
                     QStringLiteral("Bereich wurde nicht gefunden !"));
}

} // namespace dualvex
