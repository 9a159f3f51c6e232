#include "gui/hexview/HexPaneSearch.h"

#include "gui/hexview/CHexView.h"

namespace dualvex {

HexPaneSearch::HexPaneSearch(CHexView& view) : m_view(view), m_commands(*this) {}

QWidget* HexPaneSearch::Widget()
{
    return &m_view;
}

std::span<const std::uint8_t> HexPaneSearch::Data() const
{
    return m_view.Bytes();
}

std::uint64_t HexPaneSearch::BaseAddress() const
{
    return m_view.Core().Base();
}

HexPos HexPaneSearch::Cursor() const
{
    return m_view.GetCursorPos(false);
}

std::optional<SelectionRange> HexPaneSearch::Selection() const
{
    HexPos start = 0;
    HexPos count = 0;
    if (!m_view.GetSelectionEx(&start, &count, false, 0) || count <= 0) return std::nullopt;
    return SelectionRange{start, start + count - 1};
}

void HexPaneSearch::SetCursorPos(HexPos index)
{
    m_view.SetCursorPos(index, false);
}

void HexPaneSearch::SelectTo(HexPos index)
{
    m_view.SelectTo(index, false);
}

void HexPaneSearch::SetMark(int index, HexPos start, HexPos count)
{
    m_view.SetMark(index, start, count);
}

HexPos HexPaneSearch::LineOf(HexPos index) const
{
    return m_view.Core().Layout().LineOf(index);
}

HexPos HexPaneSearch::FirstVisibleLine() const
{
    return m_view.Core().TopLine();
}

int HexPaneSearch::VisibleLines() const
{
    return m_view.VisibleLines();
}

bool HexPaneSearch::LastLinePartial() const
{
    return m_view.FullLines() < m_view.VisibleLines();
}

void HexPaneSearch::ScrollToLine(HexPos firstLine)
{
    m_view.SetTopAddress(m_view.Core().Layout().LineStart(firstLine), false);
}

void HexPaneSearch::ShowWork(BackgroundJob& job)
{
    emit m_view.BackgroundWork(&job);
}

} // namespace dualvex
