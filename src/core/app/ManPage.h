// The manual page dualvex(1) in man(7) markup, written from the same tables that
// "--help" and the help box show, so a new switch reaches all three at once.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace dualvex {

// Writes the whole page (German, UTF-8; man-db's preconv turns the umlauts into
// roff characters when it renders).
void WriteManPage(std::ostream& out);

// Text made safe for one roff line: backslashes escaped, and a line that would
// begin with a control character ("." or "'") guarded with "\&".
std::string RoffText(std::string_view text);
// The same for a switch, whose hyphens must stay minus signs ("\-") so that the
// rendered page can be searched and copied into a shell.
std::string RoffOption(std::string_view text);

} // namespace dualvex
