// The search commands of one hex pane: Find (the "Wert suchen" dialog), Find next,
// Range search and Go to. They work through SearchPane, so they need no hex view
// class; the process-wide SearchState makes find next repeat the last search of
// either pane. Data from backgroundBytes on is searched on a worker thread while the
// pane shows the progress and input is held back, Escape stopping the search; the
// result is the same as on the UI thread.
#pragma once

#include "core/tools/FindList.h"
#include "core/tools/SearchState.h"
#include "gui/support/BackgroundJob.h"
#include "gui/tools/SearchPane.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace dualvex {

class PaneSearch : public SearchView {
  public:
    // Runs the search dialog: QDialog::Rejected, QDialog::Accepted or
    // FindDialog::kSearchAgain. The dialog commits its choices to the state.
    using FindRunner = std::function<int(QWidget* parent, SearchState& state, const QString& initialText)>;
    // Runs the go-to dialog: the address typed, nothing on Cancel.
    using GotoRunner = std::function<std::optional<std::uint32_t>(QWidget* parent, const QString& initialText,
                                                                  TextList& history)>;

    // pane must outlive this object.
    explicit PaneSearch(SearchPane& pane, SearchState& state = ProcessSearchState(),
                        std::size_t backgroundBytes = kBackgroundWorkBytes);
    PaneSearch(const PaneSearch&) = delete;
    PaneSearch& operator=(const PaneSearch&) = delete;

    // Whether something was found.
    bool Find();
    bool FindNext();
    bool RangeSearch();
    // The address moved to, or -1.
    HexPos GoTo();

    // Tests answer the dialogs in advance; the real dialogs run otherwise.
    void SetFindRunner(FindRunner runner) { m_findRunner = std::move(runner); }
    void SetGotoRunner(GotoRunner runner) { m_gotoRunner = std::move(runner); }
    // Tests hold the worker here, on its thread, before it reads any data.
    void SetWorkerGate(std::function<void()> gate) { m_workerGate = std::move(gate); }
    [[nodiscard]] const TextList& GotoHistory() const { return m_gotoHistory; }

    // SearchView
    std::span<const std::uint8_t> SearchData() const override { return m_pane.Data(); }
    void SetMark(int index, HexPos start, HexPos count) override { m_pane.SetMark(index, start, count); }
    void SetCursorPos(HexPos index) override { m_pane.SetCursorPos(index); }
    void SelectTo(HexPos index) override { m_pane.SelectTo(index); }
    HexPos LineOf(HexPos index) const override { return m_pane.LineOf(index); }
    HexPos FirstVisibleLine() const override { return m_pane.FirstVisibleLine(); }
    int VisibleLines() const override { return m_pane.VisibleLines(); }
    bool LastLinePartial() const override { return m_pane.LastLinePartial(); }
    void ScrollToLine(HexPos firstLine) override { m_pane.ScrollToLine(firstLine); }
    void SetBusy(bool busy) override;

  private:
    [[nodiscard]] HexPos Length() const { return static_cast<HexPos>(m_pane.Data().size()); }
    [[nodiscard]] QString SelectionText() const;
    void NoteSelection();
    bool SearchWithFlags();
    // Nothing when the user stopped the search.
    [[nodiscard]] std::optional<ListResult> RunList(const Scan& scan);
    [[nodiscard]] std::optional<ListResult> RunInBackground(const Scan& scan);
    void NotFound(QMessageBox::Icon icon);

    SearchPane& m_pane;
    SearchState& m_state;
    std::size_t m_backgroundBytes;
    TextList m_gotoHistory;
    FindRunner m_findRunner;
    GotoRunner m_gotoRunner;
    std::function<void()> m_workerGate;
};

} // namespace dualvex
