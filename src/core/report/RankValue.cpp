#include "report/RankValue.h"

#include "collection/TextTrim.h"

#include <array>

namespace {

enum class EGrade { Kyu, Dan, Pro };

struct SSuffix
{
    std::string_view spelling;
    EGrade grade;
};

// Lower-case Latin spellings first; the CJK characters in every charset
// records come in.
constexpr std::array<SSuffix, 24> kSuffixes = {{
    {"kyu", EGrade::Kyu},
    {"dan", EGrade::Dan},
    {"pro", EGrade::Pro},
    {"k", EGrade::Kyu},
    {"d", EGrade::Dan},
    {"p", EGrade::Pro},
    {"\xE7\xBA\xA7", EGrade::Kyu}, // 级 UTF-8
    {"\xE7\xB4\x9A", EGrade::Kyu}, // 級 UTF-8
    {"\xEA\xB8\x89", EGrade::Kyu}, // 급 UTF-8
    {"\xE6\xAE\xB5", EGrade::Dan}, // 段 UTF-8
    {"\xEB\x8B\xA8", EGrade::Dan}, // 단 UTF-8
    {"\xBC\xB6", EGrade::Kyu},     // 级 GBK
    {"\xBC\x89", EGrade::Kyu},     // 級 GBK
    {"\xAF\xC5", EGrade::Kyu},     // 級 Big5
    {"\x8B\x89", EGrade::Kyu},     // 級 Shift_JIS
    {"\xB5\xE9", EGrade::Kyu},     // 級 EUC-JP
    {"\xB1\xDE", EGrade::Kyu},     // 급 EUC-KR
    {"\xB6\xCE", EGrade::Dan},     // 段 GBK
    {"\xAC\x71", EGrade::Dan},     // 段 Big5
    {"\x92\x69", EGrade::Dan},     // 段 Shift_JIS
    {"\xC3\xCA", EGrade::Dan},     // 段 EUC-JP
    {"\xD3\xAB", EGrade::Dan},     // 段 EUC-KR (hanja)
    {"\xB4\xDC", EGrade::Dan},     // 단 EUC-KR
    {"\xD0\xE4", EGrade::Kyu},     // 級 EUC-KR (hanja)
}};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != prefix[i])
            return false;
    return true;
}

std::string_view Trimmed(std::string_view text)
{
    return TrimmedBy(text, IsBlank);
}

bool ReadNumber(std::string_view& text, int& value)
{
    std::size_t digits = 0;
    value = 0;
    while (digits < text.size() && digits < 3 && text[digits] >= '0' && text[digits] <= '9')
        value = value * 10 + (text[digits++] - '0');
    text.remove_prefix(digits);
    return digits > 0 && (text.empty() || text.front() < '0' || text.front() > '9');
}

std::optional<int> Strength(EGrade grade, int number)
{
    switch (grade) {
    case EGrade::Kyu:
        return number >= 1 && number <= 30 ? std::optional<int>(100 - number) : std::nullopt;
    case EGrade::Dan:
        return number >= 1 && number <= 9 ? std::optional<int>(100 + number) : std::nullopt;
    case EGrade::Pro:
        return number >= 1 && number <= 9 ? std::optional<int>(200 + number) : std::nullopt;
    }
    return std::nullopt;
}

// Only marks may follow the grade.
bool OnlyMarks(std::string_view rest)
{
    for (char c : rest)
        if (c != '?' && c != '*' && !IsBlank(c))
            return false;
    return true;
}

} // namespace

std::optional<int> RankStrength(std::string_view text)
{
    text = Trimmed(text);
    int number = 0;
    // P9: the professional grade written first.
    if (!text.empty() && Lower(text.front()) == 'p' && text.size() > 1 && text[1] >= '0' && text[1] <= '9') {
        text.remove_prefix(1);
        if (!ReadNumber(text, number) || !OnlyMarks(text))
            return std::nullopt;
        return Strength(EGrade::Pro, number);
    }
    if (!ReadNumber(text, number))
        return std::nullopt;
    if (!text.empty() && (IsBlank(text.front()) || text.front() == '-'))
        text.remove_prefix(1);
    for (const SSuffix& suffix : kSuffixes)
        if (StartsWithFolded(text, suffix.spelling) && OnlyMarks(text.substr(suffix.spelling.size())))
            return Strength(suffix.grade, number);
    return std::nullopt;
}
