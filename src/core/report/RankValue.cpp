#include "report/RankValue.h"

#include "util/AsciiFold.h"
#include "util/TextTrim.h"

#include <array>

namespace {

enum class EGrade { Kyu, Dan, Pro };

struct SSuffix
{
    std::string_view spelling;
    EGrade grade;
};

// Latin spellings, lower case; they follow Arabic digits only.
constexpr std::array<SSuffix, 6> kLatinSuffixes = {{
    {"kyu", EGrade::Kyu},
    {"dan", EGrade::Dan},
    {"pro", EGrade::Pro},
    {"k", EGrade::Kyu},
    {"d", EGrade::Dan},
    {"p", EGrade::Pro},
}};

// The characters of a rank as one charset spells them. A rank is read in one
// charset at a time, from its first byte on, so a character is never taken
// from the second byte of another, and the numerals and the grade of one
// rank come from the same charset.
struct SCharsetSpelling
{
    // 一 to 十, standing for 1 to 10.
    std::array<std::string_view, 10> numerals;
    // 初, the first: 初段 is 1 dan.
    std::string_view first;
    std::array<SSuffix, 5> grades; // unused places empty
    // 格 after the grade (三段格: of 3 dan standing); it does not change the strength.
    std::string_view standing;
    // 业余, アマ: an amateur's rank, which is the dan or kyu it names.
    std::array<std::string_view, 2> amateur;
};

const std::array<SCharsetSpelling, 6>& Spellings()
{
    static const std::array<SCharsetSpelling, 6> spellings = {{
        // UTF-8
        {{"\xE4\xB8\x80", "\xE4\xBA\x8C", "\xE4\xB8\x89", "\xE5\x9B\x9B", "\xE4\xBA\x94", "\xE5\x85\xAD",
          "\xE4\xB8\x83", "\xE5\x85\xAB", "\xE4\xB9\x9D", "\xE5\x8D\x81"},
         "\xE5\x88\x9D",
         {{{"\xE7\xBA\xA7", EGrade::Kyu},   // 级
           {"\xE7\xB4\x9A", EGrade::Kyu},   // 級
           {"\xEA\xB8\x89", EGrade::Kyu},   // 급
           {"\xE6\xAE\xB5", EGrade::Dan},   // 段
           {"\xEB\x8B\xA8", EGrade::Dan}}}, // 단
         "\xE6\xA0\xBC",
         {"\xE4\xB8\x9A\xE4\xBD\x99", "\xE3\x82\xA2\xE3\x83\x9E"}},
        // GB2312, GBK, GB18030
        {{"\xD2\xBB", "\xB6\xFE", "\xC8\xFD", "\xCB\xC4", "\xCE\xE5", "\xC1\xF9", "\xC6\xDF", "\xB0\xCB", "\xBE\xC5",
          "\xCA\xAE"},
         "\xB3\xF5",
         {{{"\xBC\xB6", EGrade::Kyu}, {"\xBC\x89", EGrade::Kyu}, {"\xB6\xCE", EGrade::Dan}}},
         "\xB8\xF1",
         {"\xD2\xB5\xD3\xE0"}},
        // Big5
        {{"\xA4\x40", "\xA4\x47", "\xA4\x54", "\xA5\x7C", "\xA4\xAD", "\xA4\xBB", "\xA4\x43", "\xA4\x4B", "\xA4\x45",
          "\xA4\x51"},
         "\xAA\xEC",
         {{{"\xAF\xC5", EGrade::Kyu}, {"\xAC\x71", EGrade::Dan}}},
         "\xAE\xE6",
         {}},
        // Shift_JIS
        {{"\x88\xEA", "\x93\xF1", "\x8E\x4F", "\x8E\x6C", "\x8C\xDC", "\x98\x5A", "\x8E\xB5", "\x94\xAA", "\x8B\xE3",
          "\x8F\x5C"},
         "\x8F\x89",
         {{{"\x8B\x89", EGrade::Kyu}, {"\x92\x69", EGrade::Dan}}},
         "\x8A\x69",
         {"\x83\x41\x83\x7D"}},
        // EUC-JP
        {{"\xB0\xEC", "\xC6\xF3", "\xBB\xB0", "\xBB\xCD", "\xB8\xDE", "\xCF\xBB", "\xBC\xB7", "\xC8\xAC", "\xB6\xE5",
          "\xBD\xBD"},
         "\xBD\xE9",
         {{{"\xB5\xE9", EGrade::Kyu}, {"\xC3\xCA", EGrade::Dan}}},
         "\xB3\xCA",
         {"\xA5\xA2\xA5\xDE"}},
        // EUC-KR and CP949: Hangul, and the Hanja of KS X 1001
        {{"\xEC\xE9", "\xEC\xA3", "\xDF\xB2", "\xDE\xCC", "\xE7\xE9", "\xD7\xBF", "\xF6\xD2", "\xF8\xA2", "\xCE\xFA",
          "\xE4\xA8"},
         "\xF4\xF8",
         {{{"\xB1\xDE", EGrade::Kyu},   // 급
           {"\xD0\xE4", EGrade::Kyu},   // 級
           {"\xB4\xDC", EGrade::Dan},   // 단
           {"\xD3\xAB", EGrade::Dan}}}, // 段
         "\xCC\xAB",
         {}},
    }};
    return spellings;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool StartsWithFolded(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[i]) != prefix[i])
            return false;
    return true;
}

// Takes prefix off the front of text when it is there.
bool Take(std::string_view& text, std::string_view prefix)
{
    if (prefix.empty() || text.substr(0, prefix.size()) != prefix)
        return false;
    text.remove_prefix(prefix.size());
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

// One numeral: 1 to 9 for 一 to 九, 10 for 十, 0 when none starts text.
int TakeNumeral(std::string_view& text, const SCharsetSpelling& spelling)
{
    for (std::size_t i = 0; i < spelling.numerals.size(); ++i)
        if (Take(text, spelling.numerals[i]))
            return static_cast<int>(i) + 1;
    return 0;
}

// A number in numerals as they are written: 五 (5), 十 (10), 十二 (12),
// 二十 (20), 二十五 (25); or 初 (1). Another numeral after it makes it none.
bool ReadNumerals(std::string_view& text, const SCharsetSpelling& spelling, int& value)
{
    if (Take(text, spelling.first)) {
        value = 1;
    } else {
        const int lead = TakeNumeral(text, spelling);
        if (lead == 0)
            return false;
        value = lead;
        std::string_view rest = text;
        if (lead < 10 && TakeNumeral(rest, spelling) == 10) {
            value = lead * 10;
            text = rest;
        }
        if (value >= 10) {
            rest = text;
            if (const int unit = TakeNumeral(rest, spelling); unit > 0 && unit < 10) {
                value += unit;
                text = rest;
            }
        }
    }
    std::string_view rest = text;
    return TakeNumeral(rest, spelling) == 0 && !Take(rest, spelling.first);
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

// The rank in one charset's spelling, after any amateur mark.
std::optional<int> RankIn(std::string_view text, const SCharsetSpelling& spelling)
{
    bool amateur = false;
    for (std::string_view mark : spelling.amateur) {
        if (Take(text, mark)) {
            amateur = true;
            text = Trimmed(text);
            break;
        }
    }
    int number = 0;
    const bool arabic = ReadNumber(text, number);
    if (!arabic && !ReadNumerals(text, spelling, number))
        return std::nullopt;
    if (!text.empty() && (IsBlank(text.front()) || text.front() == '-'))
        text.remove_prefix(1);
    auto gradeThen = [&](const SSuffix& suffix, std::string_view rest) -> std::optional<int> {
        Take(rest, spelling.standing);
        if (!OnlyMarks(rest) || (amateur && suffix.grade == EGrade::Pro))
            return std::nullopt;
        return Strength(suffix.grade, number);
    };
    if (arabic)
        for (const SSuffix& suffix : kLatinSuffixes)
            if (StartsWithFolded(text, suffix.spelling))
                if (const std::optional<int> strength = gradeThen(suffix, text.substr(suffix.spelling.size())))
                    return strength;
    for (const SSuffix& suffix : spelling.grades)
        if (!suffix.spelling.empty() && text.substr(0, suffix.spelling.size()) == suffix.spelling)
            return gradeThen(suffix, text.substr(suffix.spelling.size()));
    return std::nullopt;
}

} // namespace

std::optional<int> RankStrength(std::string_view text)
{
    text = Trimmed(text);
    int number = 0;
    // P9: the professional grade written first.
    if (!text.empty() && AsciiLower(text.front()) == 'p' && text.size() > 1 && text[1] >= '0' && text[1] <= '9') {
        text.remove_prefix(1);
        if (!ReadNumber(text, number) || !OnlyMarks(text))
            return std::nullopt;
        return Strength(EGrade::Pro, number);
    }
    for (const SCharsetSpelling& spelling : Spellings())
        if (const std::optional<int> strength = RankIn(text, spelling))
            return strength;
    return std::nullopt;
}
