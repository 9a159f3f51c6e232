#include "core/app/ImageLoad.h"

#include "core/app/FileAccess.h"
#include "core/app/IntelHex.h"

namespace dualvex {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        const auto la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
        const auto lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
        if (la != lb) return false;
    }
    return true;
}

std::string_view Extension(std::string_view path)
{
    const auto slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return name.substr(dot + 1);
}

} // namespace

int ExtensionInList(std::string_view path, std::string_view list)
{
    const std::string_view ext = Extension(path);
    if (ext.empty()) return 0;
    int index = 1;
    while (true) {
        const auto sep = list.find(';');
        if (EqualNoCase(list.substr(0, sep), ext)) return index;
        if (sep == std::string_view::npos) return 0;
        list.remove_prefix(sep + 1);
        ++index;
    }
}

bool WantsIntelHex(const std::string& path, bool& ownFlag, const LoadFlags& flags,
                   const IntelHexQuestion& ask)
{
    bool asHex = false;
    if (ExtensionInList(path, kIntelHexExtensions) != 0)
        asHex = flags.intelHexAuto || flags.hexAutoOnce || (ask && ask(path));
    if (ownFlag) {
        ownFlag = false;
        asHex = true;
    }
    return asHex;
}

LoadStatus LoadImage(const std::string& path, bool& ownFlag, const LoadFlags& flags,
                     const IntelHexQuestion& ask, MemoryImage& out, IntelHexDefects* defects)
{
    if (defects != nullptr) *defects = IntelHexDefects();
    return WantsIntelHex(path, ownFlag, flags, ask) ? ReadIntelHex(path, out, defects)
                                                    : LoadRawImage(path, out);
}

LoadResult LoadImages(const std::string& path1, const std::string& path2, LoadFlags& flags,
                      const IntelHexQuestion& ask)
{
    LoadResult result;
    result.status = LoadImage(path1, flags.firstIsHex, flags, ask, result.first, &result.firstDefects);
    if (result.status != LoadStatus::Ok) {
        result.failed = LoadFailure::First;
        return result;
    }
    result.status = LoadImage(path2, flags.secondIsHex, flags, ask, result.second, &result.secondDefects);
    if (result.status != LoadStatus::Ok) {
        result.failed = LoadFailure::Second;
        return result;
    }
    flags.hexAutoOnce = false;
    return result;
}

std::string LoadErrorMessage(LoadStatus status, const std::string& path)
{
    switch (status) {
    case LoadStatus::Ok: return {};
    case LoadStatus::NotComparable: return "Die Datei " + path + " existiert nicht zum Vergleichen !";
    case LoadStatus::TooLarge:
        return "Die Datei " + path + " ist zu groß zum Vergleichen (4 GiB oder mehr) !";
    case LoadStatus::CannotOpen: break;
    }
    return "Die Datei " + path + " konnte nicht geöffnet werden !";
}

} // namespace dualvex
