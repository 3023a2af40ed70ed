#pragma once

#include <string_view>

class CDelimStringArray;

// Whether a player's name stands for one of the user's own names ("My
// Names") although its bytes differ from each: rank words written after the
// name, or names the user has joined as one player. The players layer knows
// how; the opponent values ask it after the names' own comparison.
class IJoinedNames
{
public:
    virtual ~IJoinedNames() = default;
    // name: the player's name as the list shows it; myNames: My Names as read.
    virtual bool IsJoined(std::string_view name, const CDelimStringArray& myNames) const = 0;
};
