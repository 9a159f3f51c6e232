// What this build of the program is: the project's version and the commit it was
// built from, for "--version", the manual page and the about box.
#pragma once

namespace dualvex {

// The project's version ("0.1"), from the one place the build declares it.
const char* ProgramVersion();
// The short commit id the build was made from, with "-dirty" when the tree had
// changes, or "unbekannt" outside a git checkout (a source tarball).
const char* BuildCommit();

} // namespace dualvex
