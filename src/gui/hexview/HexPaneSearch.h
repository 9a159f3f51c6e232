// The hex pane as the search commands see it: data, cursor, selection, marks and
// scrolling of one CHexView, each a call of the pane's own operations.
#pragma once

#include "gui/tools/PaneSearch.h"
#include "gui/tools/SearchPane.h"

namespace dualvex {

class CHexView;

class HexPaneSearch : public SearchPane {
  public:
    explicit HexPaneSearch(CHexView& view);
    HexPaneSearch(const HexPaneSearch&) = delete;
    HexPaneSearch& operator=(const HexPaneSearch&) = delete;

    PaneSearch& Commands() { return m_commands; }

    QWidget* Widget() override;
    std::span<const std::uint8_t> Data() const override;
    std::uint64_t BaseAddress() const override;
    HexPos Cursor() const override;
    std::optional<SelectionRange> Selection() const override;
    void SetCursorPos(HexPos index) override;
    void SelectTo(HexPos index) override;
    void SetMark(int index, HexPos start, HexPos count) override;
    HexPos LineOf(HexPos index) const override;
    HexPos FirstVisibleLine() const override;
    int VisibleLines() const override;
    bool LastLinePartial() const override;
    void ScrollToLine(HexPos firstLine) override;
    void ShowWork(BackgroundJob& job) override;

  private:
    CHexView& m_view;
    PaneSearch m_commands;
};

} // namespace dualvex
