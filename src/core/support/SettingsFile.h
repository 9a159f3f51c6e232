// One settings file on disk: the persistent key tree of one settings root.
//
// Reads take no lock: the file is only ever replaced whole by a rename, so a
// reader sees either the old or the new contents. Every change takes an exclusive
// lock on "<file>.lock", re-reads the file under it, applies the change to what it
// found and replaces the file, so that two running instances never lose each
// other's values. A file that cannot be parsed is renamed aside
// ("<file>.corrupt-<time>") before anything is written over it. A file without
// write permission is left alone: changes to it fail.
//
// The user's file may be a link, but only to a regular file of the running user; the
// replacement is then written beside that target. Any other file (another user's,
// a folder, a dangling link, a link to unparsable contents) is neither read nor
// written: the program runs with defaults and says once on stderr why. The lock
// file is never followed through a link.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "core/support/SettingsTree.h"

namespace dualvex {

enum class SettingsRoot { None, ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

class SettingsFile {
  public:
    // ownedByUser: the file (or what it links to) must belong to the running user.
    // The machine-wide file belongs to the administrator and is only read by others.
    explicit SettingsFile(std::filesystem::path path, bool ownedByUser = true)
        : m_path(std::move(path)), m_ownedByUser(ownedByUser)
    {
    }

    // user.conf below ${XDG_CONFIG_HOME:-~/.config}/dualvex, machine.conf below
    // /etc/xdg/dualvex; DUALVEX_CONFIG_DIR, when set, holds both instead. Other
    // roots have no file on this platform.
    static std::optional<SettingsFile> ForRoot(SettingsRoot root);

    const std::filesystem::path& Path() const { return m_path; }

    // The current contents; a missing, unreadable or unparsable file reads as empty.
    SettingsTree Load() const;

    // Applies change to the newest contents and replaces the file atomically, unless
    // change reports (by returning false) that it changed nothing. Returns false and
    // leaves the file as it was when it cannot be read or written; on success *result
    // (when given) receives the tree now on disk.
    [[nodiscard]] bool Update(const std::function<bool(SettingsTree&)>& change,
                              SettingsTree* result = nullptr) const;

    // Makes the changes so far durable. Each change is only renamed into place, so
    // that a save of many values pays for one flush at its end, not one per value.
    bool Sync() const;

  private:
    std::filesystem::path m_path;
    bool m_ownedByUser = true;
};

} // namespace dualvex
