// Text lists: ordered runs of texts as the settings store keeps them (one block of
// zero-terminated texts closed by an empty text), and the history rule of the
// combo boxes that use them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

class TextList {
  public:
    TextList() = default;
    explicit TextList(std::vector<std::string> items) : m_items(std::move(items)) {}

    // Reads a block of zero-terminated texts; the first empty text (or the end of
    // the block) closes it, so an empty or absent block gives no texts.
    static TextList FromBlock(std::string_view block);
    // The block form, closed by an empty text.
    std::string ToBlock() const;

    int Count() const { return static_cast<int>(m_items.size()); }
    // Bytes of the block form including the closing zero.
    std::size_t BlockSize() const;
    // Index of the text equal byte for byte, or -1.
    int Find(std::string_view text) const;
    // Index 0 puts the text in front; an index past the end appends. An empty text
    // would end the block early and is refused.
    bool Insert(int index, std::string_view text);
    // Out-of-range indices change nothing.
    void Remove(int index);
    void Clear() { m_items.clear(); }

    const std::string& At(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& Items() const { return m_items; }

    // History rule: the text goes to the front, an equal older entry is dropped and
    // at most maxCount entries stay. Empty texts are not remembered.
    void AddToHistory(std::string_view text, int maxCount = kHistoryLimit);

    static constexpr int kHistoryLimit = 16;

    friend bool operator==(const TextList&, const TextList&) = default;

  private:
    std::vector<std::string> m_items;
};

} // namespace dualvex
