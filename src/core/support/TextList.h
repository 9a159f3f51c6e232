// Text lists: zero-terminated texts closed by an empty text, the form in which
// histories and other lists are stored as one settings value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dualvex {

// The texts up to the first empty one (or the end of data, whichever comes first).
std::vector<std::string> SplitTextList(std::string_view data);
// Each text ends at its first zero byte; empty texts are left out, since an empty
// text would end the list. An empty list is the single 0 byte.
std::string JoinTextList(const std::vector<std::string>& items);

}  // namespace dualvex
