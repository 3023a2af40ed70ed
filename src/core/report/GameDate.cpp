#include "report/GameDate.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads count digits at text[at]; false when they are not all there.
bool ReadNumber(std::string_view text, std::size_t at, std::size_t count, int& value)
{
    if (text.size() < at + count)
        return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i]))
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool IsSeparator(char c)
{
    return c == '-' || c == '.' || c == '/';
}

// The date at the start of text and how many bytes it took.
std::optional<SDateSpan> LeadingDate(std::string_view text, std::size_t& used)
{
    int year = 0;
    if (!ReadNumber(text, 0, 4, year))
        return std::nullopt;
    used = 4;
    int month = 0;
    int day = 0;
    if (text.size() > 5 && IsSeparator(text[4]) && ReadNumber(text, 5, 2, month)) {
        if (month < 1 || month > 12)
            return std::nullopt;
        used = 7;
        if (text.size() > 8 && text[7] == text[4] && ReadNumber(text, 8, 2, day)) {
            if (day < 1 || day > 31)
                return std::nullopt;
            used = 10;
        }
    }
    if (used < text.size() && IsDigit(text[used]))
        return std::nullopt;
    const std::int32_t base = year * 10000;
    if (day > 0)
        return SDateSpan{base + month * 100 + day, base + month * 100 + day};
    if (month > 0)
        return SDateSpan{base + month * 100 + 1, base + month * 100 + 31};
    return SDateSpan{base + 101, base + 1231};
}

} // namespace

std::optional<SDateSpan> FirstDate(std::string_view dt)
{
    while (!dt.empty() && (dt.front() == ' ' || dt.front() == '\t'))
        dt.remove_prefix(1);
    std::size_t used = 0;
    return LeadingDate(dt, used);
}

std::optional<SDateSpan> WholeDate(std::string_view text)
{
    std::size_t used = 0;
    std::optional<SDateSpan> date = LeadingDate(text, used);
    if (!date || used != text.size())
        return std::nullopt;
    return date;
}
