// Loading the two files of a comparison, independent of any window: the caller
// supplies the Intel-HEX question and receives both images or the failing file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/app/IntelHex.h"
#include "core/app/MemoryImage.h"

namespace dualvex {

// Extensions whose files are offered for Intel-HEX decoding.
inline constexpr std::string_view kIntelHexExtensions = "HEX;H86;IHX";

// 1-based index of the path's extension in a ";"-separated list, compared
// without regard to case; 0 when it has none or it is not listed. The extension
// follows the last "." of the last path component, unless that "." begins it.
int ExtensionInList(std::string_view path, std::string_view list);

// The Intel-HEX choices of a load. The one-shot members are consumed by it.
struct LoadFlags {
    bool intelHexAuto = false; // always answer the question with yes
    bool hexAutoOnce = false;  // the same for the next completed load only
    bool firstIsHex = false;   // decode the first file as Intel-HEX whatever its name
    bool secondIsHex = false;  // the same for the second file
};

// Asked for a file with a listed extension when no automatic flag is set;
// true decodes it as Intel-HEX.
using IntelHexQuestion = std::function<bool(const std::string& path)>;

// Which part of a load failed. The values are the ones a load has always returned
// (1 or 2 for the file that failed), so callers that show them keep their meaning.
enum class LoadFailure : int {
    Cancelled = -1,
    None = 0,
    First = 1,    // the first file could not be loaded
    Second = 2,   // the second file could not be loaded
    NoMemory = 3, // both loaded, but the difference set could not be had
};

struct LoadResult {
    LoadFailure failed = LoadFailure::None;
    LoadStatus status = LoadStatus::Ok;
    MemoryImage first; // also held when only the second file failed
    MemoryImage second;
    // Bad lines of files decoded as Intel-HEX (see IntelHexWarning).
    IntelHexDefects firstDefects;
    IntelHexDefects secondDefects;
};

LoadResult LoadImages(const std::string& path1, const std::string& path2, LoadFlags& flags,
                      const IntelHexQuestion& ask);

// Whether a file is decoded as Intel-HEX by the rules above (asking only when
// the name is listed and no automatic flag is set); consumes ownFlag.
bool WantsIntelHex(const std::string& path, bool& ownFlag, const LoadFlags& flags,
                   const IntelHexQuestion& ask);

// Loads one file by the rules above; ownFlag is the file's own Intel-HEX flag.
// defects, when given, receives the bad lines of a file decoded as Intel-HEX.
LoadStatus LoadImage(const std::string& path, bool& ownFlag, const LoadFlags& flags,
                     const IntelHexQuestion& ask, MemoryImage& out, IntelHexDefects* defects = nullptr);

// The German message for a file that failed to load with the given status.
std::string LoadErrorMessage(LoadStatus status, const std::string& path);

} // namespace dualvex
