#pragma once

#include <string>
#include <string_view>

// One field of the info output on one line, whatever bytes it holds: a
// backslash becomes "\\", TAB "\t", LF "\n", CR "\r", any other control byte
// and 0x7F "\xHH" with uppercase hex digits. All other bytes stay as they are,
// so UTF-8 and legacy multibyte text passes through untouched.
std::string EscapeField(std::string_view text);
// The same, appended to out.
void AppendEscapedField(std::string& out, std::string_view text);

// A cell of list --escape: backslash, TAB, LF and CR written as in the info
// output, every other byte as it is, so each row stays one line of cells.
void AppendEscapedCell(std::string& out, std::string_view text);
