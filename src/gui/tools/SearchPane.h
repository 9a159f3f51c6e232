// What the search commands need from a hex pane. The pane implements it over its
// own state; PaneSearch drives the commands through it. Offsets index the data.
#pragma once

#include "core/tools/SearchCommands.h"

#include <cstdint>
#include <optional>
#include <span>

class QWidget;

namespace dualvex {

class BackgroundJob;

class SearchPane {
  public:
    virtual ~SearchPane() = default;

    // Parent of the dialogs and questions.
    virtual QWidget* Widget() = 0;
    virtual std::span<const std::uint8_t> Data() const = 0;
    // Added to offsets to give the addresses the pane shows.
    virtual std::uint64_t BaseAddress() const = 0;
    virtual HexPos Cursor() const = 0;
    // Lowest and highest selected offsets, nothing without a selection.
    virtual std::optional<SelectionRange> Selection() const = 0;
    // Puts the cursor on the offset without a selection and keeps it in view.
    virtual void SetCursorPos(HexPos index) = 0;
    // Selects from the cursor up to, not including, the index.
    virtual void SelectTo(HexPos index) = 0;
    // Marks 0..7; index -2 clears all marks.
    virtual void SetMark(int index, HexPos start, HexPos count) = 0;
    virtual HexPos LineOf(HexPos index) const = 0;
    virtual HexPos FirstVisibleLine() const = 0;
    // Visible lines, a partly visible last line counted.
    virtual int VisibleLines() const = 0;
    virtual bool LastLinePartial() const = 0;
    virtual void ScrollToLine(HexPos firstLine) = 0;
    // A search over large data runs as this job until it ends: the pane shows its
    // progress (the status bar of the window) until the job finishes or goes away.
    virtual void ShowWork(BackgroundJob& job) { (void)job; }
};

} // namespace dualvex
