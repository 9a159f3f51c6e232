#include "core/tools/TextList.h"

#include <algorithm>

namespace dualvex {

TextList TextList::FromBlock(std::string_view block)
{
    TextList list;
    while (!block.empty()) {
        const std::size_t zero = block.find('\0');
        const std::string_view text = block.substr(0, zero);
        if (text.empty()) break;
        list.m_items.emplace_back(text);
        if (zero == std::string_view::npos) break;
        block.remove_prefix(zero + 1);
    }
    return list;
}

std::string TextList::ToBlock() const
{
    std::string block;
    block.reserve(BlockSize());
    for (const std::string& item : m_items) {
        block += item;
        block += '\0';
    }
    block += '\0';
    return block;
}

std::size_t TextList::BlockSize() const
{
    std::size_t size = 1;
    for (const std::string& item : m_items) size += item.size() + 1;
    return size;
}

int TextList::Find(std::string_view text) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == text) return static_cast<int>(i);
    }
    return -1;
}

bool TextList::Insert(int index, std::string_view text)
{
    // A zero inside the text would split it into two texts of the block.
    if (text.empty() || text.find('\0') != std::string_view::npos) return false;
    const std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), m_items.size());
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), std::string(text));
    return true;
}

void TextList::Remove(int index)
{
    if (index < 0 || index >= Count()) return;
    m_items.erase(m_items.begin() + index);
}

void TextList::AddToHistory(std::string_view text, int maxCount)
{
    if (text.empty()) return;
    const int old = Find(text);
    if (old >= 0) Remove(old);
    if (!Insert(0, text)) return;
    if (maxCount < 1) maxCount = 1;
    if (Count() > maxCount) m_items.resize(static_cast<std::size_t>(maxCount));
}

} // namespace dualvex
