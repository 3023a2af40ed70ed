#include "report/MeaningOrder.h"

#include "report/GameDate.h"
#include "report/RankValue.h"

EColumnKind ColumnKindOf(const std::vector<std::string_view>& values)
{
    std::size_t filled = 0;
    std::size_t ranks = 0;
    std::size_t dates = 0;
    for (std::string_view value : values) {
        if (value.empty())
            continue;
        ++filled;
        if (RankStrength(value))
            ++ranks;
        else if (FirstDate(value))
            ++dates;
    }
    if (filled == 0)
        return EColumnKind::Bytes;
    if (ranks * 2 > filled)
        return EColumnKind::Ranks;
    if (dates * 2 > filled)
        return EColumnKind::Dates;
    return EColumnKind::Bytes;
}

std::int64_t MeaningKey(EColumnKind kind, std::string_view value)
{
    switch (kind) {
    case EColumnKind::Ranks:
        if (const std::optional<int> strength = RankStrength(value))
            return *strength;
        return -1;
    case EColumnKind::Dates:
        // The first day, then the shorter span: 2016-01-01 before 2016.
        if (const std::optional<SDateSpan> date = FirstDate(value))
            return static_cast<std::int64_t>(date->first) * 100000000 + date->last;
        return -1;
    case EColumnKind::Bytes:
        break;
    }
    return -1;
}
