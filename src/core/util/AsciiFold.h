#pragma once

#include <string>
#include <string_view>

// Letter case of ASCII only: identifiers, charset names, extensions and
// search words are compared this way whatever the locale says, and bytes
// of other scripts pass through as they are.
constexpr char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline void AsciiLowerInPlace(std::string& text)
{
    for (char& c : text)
        c = AsciiLower(c);
}
