#pragma once

#include "collection/TextStream.h"

#include <cstddef>
#include <string>

// The lexical pieces the root-node reader and the whole-game reader share,
// so a record's values read the same in the list and in the preview.

// Identifiers keep their first two uppercase letters: "PlayerBlack" is PB,
// "SiZe" is SZ; every other character before the "[" is passed over.
constexpr std::size_t kMaxIdLetters = 2;

inline bool IsIdLetter(int c)
{
    return c >= 'A' && c <= 'Z';
}

// Reads the text of one value, its "[" consumed: a backslash takes the next
// character literally (a "]" or a backslash too; before a line break it
// leaves the break in the value). Nothing else is changed. Stops with the
// closing "]" as the look-ahead, not consumed; false when the input ends
// first, with what was read so far in value.
bool ReadValueText(CTextStream& stream, std::string& value);
