#include "textwnd/AnsiStyleSettings.h"

#include "textwnd/AnsiStyleSet.h"

namespace dualvex {

bool LoadStyleSettings(AnsiStyleSet& set, const QString& path, bool)
{
    set.KeyPath() = path;
    return false;
}

bool SaveStyleSettings(AnsiStyleSet&, const QString&) { return false; }

}  // namespace dualvex
