#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A date as a game record gives it, down to the day it names: a year alone
// stands for the whole year, a month for the whole month. Days are written
// yyyymmdd, so spans compare as numbers.
struct SDateSpan
{
    std::int32_t first = 0;
    std::int32_t last = 0;

    bool Within(const SDateSpan& range) const { return first >= range.first && last <= range.last; }
    bool operator==(const SDateSpan&) const = default;
};

// The first date of a DT value: YYYY, YYYY-MM or YYYY-MM-DD at its start,
// a month or day of one digit as well (2002-5-20, 1991-03-8)
// ("1996-05-06,07" lists days; the first counts). Records written by some
// programs separate with '.' or '/' instead of '-'; the year always comes
// first, so these read the same; so does a whole day separated by blanks
// (2002 05 20). What follows the date must not be a digit.
// Nothing when the value starts with no readable date.
std::optional<SDateSpan> FirstDate(std::string_view dt);

// A date as typed in a search: the whole text must be one date.
std::optional<SDateSpan> WholeDate(std::string_view text);
