// The pane's tool commands: each opens its dialog on the bytes the command names
// (the selection, or the bytes at the cursor) and, where the tool gives something
// back, hands it to the core or the clipboard.
#include "gui/hexview/CHexView.h"

#include "gui/hexview/HexPaneSearch.h"
#include "gui/support/CommandIds.h"
#include "gui/support/DialogControls.h"
#include "gui/support/MessageSeam.h"
#include "gui/tools/CalculatorDialog.h"
#include "gui/tools/ChecksumDialog.h"
#include "gui/tools/CppCopyDialog.h"
#include "gui/tools/CrcDialog.h"
#include "gui/tools/FloatConverterDialog.h"
#include "gui/tools/NumberInputDialog.h"

#include <algorithm>
#include <array>
#include <span>

namespace dualvex {

namespace {

// Checksum and CRC without a selection take the start of the data.
constexpr HexPos kToolDefaultBytes = 0x100000;
// The copy commands of the selection stop here.
constexpr HexPos kEscapedCopyCap = 32768;

} // namespace

PaneSearch& CHexView::Search()
{
    return m_search->Commands();
}

std::span<const std::uint8_t> CHexView::Bytes() const
{
    HexPos length = 0;
    const std::uint8_t* bytes = m_core.GetData(&length, nullptr);
    if (bytes == nullptr || length <= 0) return {};
    return {bytes, static_cast<std::size_t>(length)};
}

// The selected bytes, or the first `fallback` bytes of the data without a selection.
std::span<const std::uint8_t> CHexView::ToolInput(HexPos fallback) const
{
    const std::span<const std::uint8_t> bytes = Bytes();
    const auto length = static_cast<HexPos>(bytes.size());
    if (length == 0) return {};
    HexPos start = 0;
    HexPos count = 0;
    if (!m_core.GetSelectionEx(&start, &count, false, 0)) count = std::min(length, fallback);
    start = std::clamp<HexPos>(start, 0, length);
    count = std::clamp<HexPos>(count, 0, length - start);
    return bytes.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
}

// Up to `count` bytes from the selection's lower end or the cursor; fewer at the data end.
std::span<const std::uint8_t> CHexView::BytesAtCursor(HexPos count) const
{
    const std::span<const std::uint8_t> bytes = Bytes();
    const auto length = static_cast<HexPos>(bytes.size());
    if (length == 0) return {};
    HexPos start = 0;
    m_core.GetSelectionEx(&start, nullptr, false, 0);
    start = std::clamp<HexPos>(start, 0, length);
    return bytes.subspan(static_cast<std::size_t>(start),
                         static_cast<std::size_t>(std::clamp<HexPos>(length - start, 0, count)));
}

bool CHexView::HasData() const
{
    return m_core.Length() > 0;
}

void CHexView::OpenChecksum()
{
    ChecksumDialog dialog(ToolInput(kToolDefaultBytes), this);
    emit BackgroundWork(&dialog.Job());
    dialog.exec();
}

void CHexView::OpenCrc()
{
    const std::span<const std::uint8_t> input = ToolInput(kToolDefaultBytes);
    CrcDialog dialog(input.data(), input.size(), this);
    emit BackgroundWork(&dialog.Job());
    dialog.exec();
}

void CHexView::OpenCalculator()
{
    // The selection's first four bytes (or those at the cursor), little endian.
    const std::span<const std::uint8_t> bytes = BytesAtCursor(4);
    std::uint32_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = (value << 8) | bytes[i];
    CalculatorDialog dialog(value, this);
    dialog.exec();
}

void CHexView::OpenFloatConverter()
{
    const std::span<const std::uint8_t> bytes = BytesAtCursor(8);
    FloatConverterDialog dialog(bytes.data(), static_cast<int>(bytes.size()), this);
    dialog.exec();
}

void CHexView::OpenInsertNumber()
{
    NumberInputParams params;
    HexPos count = 0;
    const bool selected = m_core.GetSelectionEx(nullptr, &count, false, 0);
    const std::span<const std::uint8_t> bytes = BytesAtCursor(selected ? std::min<HexPos>(count, 8) : 4);
    std::copy(bytes.begin(), bytes.end(), params.value.begin());
    params.byteCount = selected ? static_cast<int>(std::max<std::size_t>(bytes.size(), 1)) : 4;
    params.hexDisplay = true;
    NumberInputDialog dialog(params, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<std::uint8_t> output = dialog.OutputBytes();
    const HexWriteResult result = WriteBytes(output.data(), static_cast<HexPos>(output.size()));
    if (result == HexWriteResult::ReadOnly)
        MessageSeam::Ask(this, QMessageBox::Warning, QStringLiteral("Dualvex"),
                         QStringLiteral("Die Daten sind schreibgeschützt !"));
}

void CHexView::OpenCppCopy()
{
    if (!HasSelection()) return;
    CppCopyDialog dialog(ToolInput(0), this);
    if (dialog.exec() == QDialog::Accepted) CopyToClipboard(dialog.Text());
}

void CHexView::CopyEscaped()
{
    if (HasSelection())
        CopyEscapedSelection(ToolInput(0).first(
            std::min<std::size_t>(ToolInput(0).size(), static_cast<std::size_t>(kEscapedCopyCap))));
}

bool CHexView::RunTool(int id)
{
    switch (id) {
    case cmd::Checksum: OpenChecksum(); return true;
    case cmd::CrcCalculator: OpenCrc(); return true;
    case cmd::Calculator: OpenCalculator(); return true;
    case cmd::FloatConverter: OpenFloatConverter(); return true;
    case cmd::InsertNumber: OpenInsertNumber(); return true;
    case cmd::CopyCpp: OpenCppCopy(); return true;
    case cmd::CopyEscaped: CopyEscaped(); return true;
    case cmd::Find: m_search->Commands().Find(); return true;
    case cmd::FindNext: m_search->Commands().FindNext(); return true;
    case cmd::FindRange: m_search->Commands().RangeSearch(); return true;
    case cmd::GotoAddress: m_search->Commands().GoTo(); return true;
    default: return false;
    }
}

bool CHexView::UpdateTool(int id, CommandState& state) const
{
    switch (id) {
    case cmd::Calculator: state.enabled = true; return true;
    case cmd::Checksum:
    case cmd::CrcCalculator:
    case cmd::FloatConverter:
    // On read-only data the number is asked for and then refused with a message.
    case cmd::InsertNumber: state.enabled = HasData(); return true;
    case cmd::CopyCpp:
    case cmd::CopyEscaped: state.enabled = HasSelection(); return true;
    case cmd::Find:
    case cmd::GotoAddress: state.enabled = HasData(); return true;
    // Range search looks for the selected bytes; find next repeats the last search.
    case cmd::FindRange: state.enabled = HasSelection(); return true;
    case cmd::FindNext: state.enabled = HasData() && ProcessSearchState().HasActiveList(); return true;
    default: return false;
    }
}

} // namespace dualvex
