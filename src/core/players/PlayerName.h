#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Archives write one player as "Chang Hao 9p", "Chang Hao", "常昊 九段": the
// name followed by rank words or marks. A player's key is the name with
// those taken off its end, then blanks removed, ASCII letter case folded and
// full-width ASCII read as ASCII. Only what is listed in PlayerName.cpp is
// taken off; two names that merely look alike keep two keys.
std::string PlayerKey(std::string_view utf8Name);

// The name with its trailing rank words and marks taken off and blanks
// trimmed at both ends, as a person would write it: "常昊 九段" -> "常昊".
// A name that is nothing but rank words is kept as it was.
std::string NameWithoutRank(std::string_view utf8Name);

// PlayerKey of a name whose rank words NameWithoutRank has taken off
// already: for callers that keep both.
std::string KeyOfNameWithoutRank(std::string_view nameWithoutRank);

// One spelling of a player and the number of games written with it.
struct SNameSpelling
{
    std::string spelling;
    std::size_t games = 0;
};

// The name a player is shown under, from its spellings in the order they
// were first seen: the most frequent spelling once rank words are taken off
// (spellings that differ only in rank count together), the first seen of
// equally frequent ones. Empty when there are none.
std::string ShownPlayerName(std::span<const SNameSpelling> spellings);
