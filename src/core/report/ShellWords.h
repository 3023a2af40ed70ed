#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits text into words as a POSIX shell splits a command line, on bytes:
// blanks (space, tab, line break) outside quotes separate words; inside
// single quotes every byte is itself; inside double quotes a backslash
// escapes only $ ` " \ and a line break; elsewhere a backslash escapes any
// byte, and a backslash before a line break joins the lines. Quotes make a
// word even when empty (''). Nothing is expanded: $, `, ~ and * stay as they
// are. A quote left open runs to the end of the text.
std::vector<std::string> SplitShellWords(std::string_view text);
