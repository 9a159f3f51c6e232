// Persistence of a style set: the font record and the colour formats below
// path + "\" + style-set name.
#pragma once

#include <QString>

namespace dualvex {

class AnsiStyleSet;

// Reads the "Font" record and the "Colors" entries over the set's current values; the
// machine layer is read first, then the user's. Returns true when "Colors" was walked.
[[nodiscard]] bool LoadStyleSettings(AnsiStyleSet& set, const QString& path, bool machine);
// Writes the font record and every format with an id; an empty path means the path the
// last load recorded. Returns false without a path.
[[nodiscard]] bool SaveStyleSettings(AnsiStyleSet& set, const QString& path);

} // namespace dualvex
