#pragma once

#include <string_view>

// text without the characters at either end for which isBlank holds. Each
// reader has its own idea of a blank (a result, a rank, a search term).
template <class IsBlank> std::string_view TrimmedBy(std::string_view text, IsBlank isBlank)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}
