#include "core/hexview/UndoRing.h"

#include <algorithm>
#include <utility>

namespace dualvex {

UndoRecord& UndoRing::Next()
{
    UndoRecord& record = m_records[m_current];
    record = UndoRecord{};
    return record;
}

void UndoRing::Commit()
{
    if (CanRedo()) {
        // A new change drops everything that could have been redone.
        for (int i = Step(m_current, 1); i != m_redoEnd; i = Step(i, 1)) m_records[i] = UndoRecord{};
        m_current = Step(m_current, 1);
        m_redoEnd = m_current;
        return;
    }
    m_current = Step(m_current, 1);
    m_redoEnd = m_current;
    if (m_current == m_oldest) {
        // Full: the oldest change is forgotten. The next one keeps the
        // modified flag it found, so undoing back to it stays truthful.
        m_records[m_oldest] = UndoRecord{};
        m_oldest = Step(m_oldest, 1);
    }
}

void UndoRing::Clear()
{
    for (UndoRecord& record : m_records) record = UndoRecord{};
    m_current = m_redoEnd = m_oldest = 0;
}

void UndoRing::Swap(UndoRecord& record, std::uint8_t* data, HexPos length)
{
    if (record.count == 0) {
        if (record.index < length) std::swap(record.savedByte, data[record.index]);
    } else {
        const HexPos count = std::min<HexPos>(record.count, length - record.index);
        std::swap_ranges(record.buffer.begin(), record.buffer.begin() + count, data + record.index);
    }
    record.undone = !record.undone;
}

const UndoRecord* UndoRing::Undo(std::uint8_t* data, HexPos length, bool* modified)
{
    if (!CanUndo()) return nullptr;
    m_current = Step(m_current, -1);
    UndoRecord& record = m_records[m_current];
    Swap(record, data, length);
    if (m_current == m_oldest && !record.modifiedBefore) *modified = false;
    return &record;
}

const UndoRecord* UndoRing::Redo(std::uint8_t* data, HexPos length, bool* modified)
{
    if (!CanRedo()) return nullptr;
    UndoRecord& record = m_records[m_current];
    Swap(record, data, length);
    m_current = Step(m_current, 1);
    *modified = true;
    return &record;
}

} // namespace dualvex
