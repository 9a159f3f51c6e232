// The undo history of a hex view: a ring of 256 records, each holding the
// other version of the bytes it changed.
#pragma once

#include "core/hexview/HexTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace dualvex {

enum UndoKind : std::uint8_t {
    kUndoOther = 0,
    kUndoHighNibble = 2,
    kUndoLowNibble = 3,
};

struct UndoRecord {
    // Multi-byte changes: the other version of the bytes at index.
    std::vector<std::uint8_t> buffer;
    HexPos index = 0;
    // 0 for a single-byte change kept in savedByte.
    HexPos count = 0;
    std::uint8_t savedByte = 0;
    UndoKind kind = kUndoOther;
    // Toggles with each undo and redo.
    bool undone = false;
    bool modifiedBefore = false;
};

class UndoRing {
  public:
    static constexpr int kSize = 256;

    UndoRing() = default;
    UndoRing(const UndoRing&) = delete;
    UndoRing& operator=(const UndoRing&) = delete;

    // The record the next change is written into; Commit() keeps it.
    UndoRecord& Next();
    void Commit();
    void Clear();

    bool CanUndo() const { return m_current != m_oldest; }
    bool CanRedo() const { return m_current != m_redoEnd; }

    // Swap the record's bytes with the data and step back or forward. The
    // result is the record that was applied, or nullptr when there is none.
    // Undo clears *modified when it returns to the oldest state and nothing
    // had been modified before it; redo sets it.
    const UndoRecord* Undo(std::uint8_t* data, HexPos length, bool* modified);
    const UndoRecord* Redo(std::uint8_t* data, HexPos length, bool* modified);

  private:
    static int Step(int index, int by) { return (index + by + kSize) % kSize; }
    static void Swap(UndoRecord& record, std::uint8_t* data, HexPos length);

    std::array<UndoRecord, kSize> m_records;
    int m_current = 0;
    int m_redoEnd = 0;
    int m_oldest = 0;
};

} // namespace dualvex
