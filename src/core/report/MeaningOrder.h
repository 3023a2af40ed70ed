#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Sorting by meaning: a column whose values are mostly ranks sorts by
// strength, one whose values are mostly dates by their first date; any
// other column keeps the byte order. What a column holds is read from its
// values, never from its header, since headers are the user's own words.
enum class EColumnKind { Bytes, Ranks, Dates };

// Ranks when more than half of the non-empty values are ranks, else dates
// when more than half are dates, else bytes.
EColumnKind ColumnKindOf(const std::vector<std::string_view>& values);

// The value's place in a column of that kind, or -1 when the value means
// nothing there (it then sorts after every value that does).
std::int64_t MeaningKey(EColumnKind kind, std::string_view value);
