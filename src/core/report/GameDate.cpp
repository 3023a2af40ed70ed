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

// Reads a month or day of one or two digits at text[at] and says how many
// bytes it took (0 when none is there).
std::size_t ReadShortNumber(std::string_view text, std::size_t at, int& value)
{
    std::size_t digits = 0;
    value = 0;
    while (digits < 2 && at + digits < text.size() && IsDigit(text[at + digits]))
        value = value * 10 + (text[at + digits++] - '0');
    return digits;
}

bool IsSeparator(char c)
{
    return c == '-' || c == '.' || c == '/';
}

// The date at the start of text and how many bytes it took. Month and day
// may have one digit (2002-5-20). Blanks separate only a whole day
// (2002 05 20), since a year is often followed by other words.
std::optional<SDateSpan> LeadingDate(std::string_view text, std::size_t& used)
{
    int year = 0;
    if (!ReadNumber(text, 0, 4, year))
        return std::nullopt;
    used = 4;
    int month = 0;
    int day = 0;
    if (text.size() > 5 && (IsSeparator(text[4]) || text[4] == ' ')) {
        const char separator = text[4];
        const std::size_t monthDigits = ReadShortNumber(text, 5, month);
        const std::size_t dayAt = 5 + monthDigits + 1;
        std::size_t dayDigits = 0;
        if (monthDigits > 0 && dayAt - 1 < text.size() && text[dayAt - 1] == separator)
            dayDigits = ReadShortNumber(text, dayAt, day);
        if (dayDigits == 0)
            day = 0;
        if (separator == ' ' && dayDigits == 0) {
            month = 0;
        } else if (monthDigits > 0) {
            if (month < 1 || month > 12)
                return std::nullopt;
            used = 5 + monthDigits;
            if (dayDigits > 0) {
                if (day < 1 || day > 31)
                    return std::nullopt;
                used = dayAt + dayDigits;
            }
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
