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

// The first date of a DT value: YYYY, YYYY-MM or YYYY-MM-DD at its start
// ("1996-05-06,07" lists days; the first counts). Records written by some
// programs separate with '.' or '/' instead of '-'; the year always comes
// first, so these read the same. What follows the date must not be a digit.
// Nothing when the value starts with no readable date.
std::optional<SDateSpan> FirstDate(std::string_view dt);

// A date as typed in a search: the whole text must be one date.
std::optional<SDateSpan> WholeDate(std::string_view text);
