// C backslash escapes, shared by the evaluator's character literals and the quoted
// texts of the value search.
#pragma once

namespace dualvex {

// Decodes one character at text: a backslash escape or a plain character. Returns its
// code (0..255) and stores the number of characters read in *consumed (0 at the
// terminating zero). An unknown escape stands for the backslash, which alone is read.
int DecodeEscape(const char* text, int* consumed);

} // namespace dualvex
