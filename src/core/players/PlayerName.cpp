#include "players/PlayerName.h"

#include "util/AsciiFold.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// What archives append to a name, and nothing else: a word only comes off
// when it is one of these, never because it looks like one.

// Counts before a CJK rank unit, besides ASCII digits: 初段 is the first dan.
constexpr std::string_view kCjkNumerals[] = {
    "\xE4\xB8\x80", "\xE4\xBA\x8C", "\xE4\xB8\x89", "\xE5\x9B\x9B", "\xE4\xBA\x94", "\xE5\x85\xAD", // 一二三四五六
    "\xE4\xB8\x83", "\xE5\x85\xAB", "\xE4\xB9\x9D", "\xE5\x8D\x81", "\xE5\x88\x9D",                 // 七八九十初
};
// 段 (dan), 级 and 級 (kyu), 단 (dan), 급 (kyu).
constexpr std::string_view kCjkRankUnits[] = {
    "\xE6\xAE\xB5", "\xE7\xBA\xA7", "\xE7\xB4\x9A", "\xEB\x8B\xA8", "\xEA\xB8\x89",
};
// Amateur and professional, written before a CJK rank (アマ五段, 职业九段,
// 业余5段) or as a word of their own after a blank: アマ, プロ, 职业, 職業,
// 业余, 業餘, 業余, 아마, 프로.
constexpr std::string_view kCjkQualifiers[] = {
    "\xE3\x82\xA2\xE3\x83\x9E", "\xE3\x83\x97\xE3\x83\xAD", "\xE8\x81\x8C\xE4\xB8\x9A",
    "\xE8\x81\xB7\xE6\xA5\xAD", "\xE4\xB8\x9A\xE4\xBD\x99", "\xE6\xA5\xAD\xE9\xA4\x98",
    "\xE6\xA5\xAD\xE4\xBD\x99", "\xEC\x95\x84\xEB\xA7\x88", "\xED\x94\x84\xEB\xA1\x9C",
};
// After 1 or 2 digits, with or without a blank or hyphen between: 9p, 9 dan,
// 4k, 1-kyu. Longest first, so "dan" is not read as "n" after "da".
constexpr std::string_view kLatinRankUnits[] = {"kyu", "dan", "pro", "k", "d", "p"};
// Before 1 or 2 digits: P9, d3.
constexpr char kLatinRankLetters[] = {'p', 'd', 'k'};
// Words of their own after the name.
constexpr std::string_view kLatinWords[] = {"amateur", "ama", "pro"};
// Titles a professional is written with, after the name.
constexpr std::string_view kLatinTitles[] = {"honinbo", "meijin", "kisei", "judan", "tengen", "gosei"};
// Chinese and Japanese titles, after the name, with or without a blank
// (趙治勲名人): 名誉名人, 名誉棋聖, 名誉本因坊, 名誉天元, 名人, 本因坊, 棋聖,
// 棋圣, 碁聖, 国手, 國手, 棋王. Longest first.
constexpr std::string_view kCjkTitles[] = {
    "\xE5\x90\x8D\xE8\xAA\x89\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A",
    "\xE5\x90\x8D\xE8\xAA\x89\xE5\x90\x8D\xE4\xBA\xBA",
    "\xE5\x90\x8D\xE8\xAA\x89\xE6\xA3\x8B\xE8\x81\x96",
    "\xE5\x90\x8D\xE8\xAA\x89\xE5\xA4\xA9\xE5\x85\x83",
    "\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A",
    "\xE5\x90\x8D\xE4\xBA\xBA",
    "\xE6\xA3\x8B\xE8\x81\x96",
    "\xE6\xA3\x8B\xE5\x9C\xA3",
    "\xE7\xA2\x81\xE8\x81\x96",
    "\xE5\x9B\xBD\xE6\x89\x8B",
    "\xE5\x9C\x8B\xE6\x89\x8B",
    "\xE6\xA3\x8B\xE7\x8E\x8B",
};
// Titles that are also given names (王天元 is Wang Tianyuan, 王冠 Wang
// Guan) come off only after a blank, and so do the Korean titles: a Korean
// name is written without one, and 김명인 is a name, not 김 the Myeongin.
// 天元, 王座, 王冠; 국수, 명인, 기성, 천원, 왕위.
constexpr std::string_view kTitlesAfterBlank[] = {
    "\xE5\xA4\xA9\xE5\x85\x83", "\xE7\x8E\x8B\xE5\xBA\xA7", "\xE7\x8E\x8B\xE5\x86\xA0", "\xEA\xB5\xAD\xEC\x88\x98",
    "\xEB\xAA\x85\xEC\x9D\xB8", "\xEA\xB8\xB0\xEC\x84\xB1", "\xEC\xB2\x9C\xEC\x9B\x90", "\xEC\x99\x95\xEC\x9C\x84",
};
// The Honinbo house names its heads by the house name first: "Honinbo
// Shusai" is Shusai, as 本因坊秀策 is 秀策.
constexpr std::string_view kLeadingTitles[] = {"honinbo ", "\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A"};

// Brackets around a rank: (9段), [4k], 【九段】; full-width ones are folded
// to ASCII before this.
struct SBrackets
{
    std::string_view open;
    std::string_view close;
};
constexpr SBrackets kBrackets[] = {
    {"(", ")"}, {"[", "]"}, {"\xE3\x80\x90", "\xE3\x80\x91"}, {"\xE3\x80\x94", "\xE3\x80\x95"}};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string_view TrimEnd(std::string_view text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Full-width ASCII (U+FF01..U+FF5E) as ASCII, the ideographic space and the
// no-break space as a space.
std::string FoldWidth(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(name[i]);
        if (b0 == 0xEF && i + 2 < name.size()) {
            const auto b1 = static_cast<unsigned char>(name[i + 1]);
            const auto b2 = static_cast<unsigned char>(name[i + 2]);
            const unsigned code = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
            if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && code >= 0xFF01 && code <= 0xFF5E) {
                out += static_cast<char>(code - 0xFEE0);
                i += 2;
                continue;
            }
        }
        if (b0 == 0xE3 && name.substr(i, 3) == "\xE3\x80\x80") {
            out += ' ';
            i += 2;
            continue;
        }
        if (b0 == 0xC2 && name.substr(i, 2) == "\xC2\xA0") {
            out += ' ';
            i += 1;
            continue;
        }
        out += name[i];
    }
    return out;
}

// A Latin word may start at at when what stands before it ends a word: a
// blank, a comma or a character of another script ("李世石9p").
bool WordStartsAt(std::string_view text, std::size_t at)
{
    if (at == 0)
        return true;
    const char before = text[at - 1];
    return IsBlank(before) || before == ',' || static_cast<unsigned char>(before) >= 0x80;
}

bool BlankBefore(std::string_view text, std::size_t at)
{
    return at == 0 || IsBlank(text[at - 1]);
}

// How many of the last characters of text are a count: ASCII digits or CJK
// numerals, one at least; 0 when there is none.
std::size_t CountBytesAtEnd(std::string_view text)
{
    std::size_t end = text.size();
    for (;;) {
        if (end > 0 && IsDigit(text[end - 1])) {
            --end;
            continue;
        }
        const auto numeral = std::find_if(std::begin(kCjkNumerals), std::end(kCjkNumerals),
                                          [&](std::string_view n) { return EndsWith(text.substr(0, end), n); });
        if (numeral == std::end(kCjkNumerals))
            break;
        end -= numeral->size();
    }
    return text.size() - end;
}

std::size_t CutTrailing(std::string_view low, bool mayEmpty);

// The length of low once the one rank word or mark at its end is taken off;
// low.size() when there is none. low is trimmed at its end.
std::size_t CutOne(std::string_view low, bool mayEmpty)
{
    // A bracket holding nothing but rank words.
    for (const SBrackets& brackets : kBrackets) {
        if (!EndsWith(low, brackets.close))
            continue;
        const std::string_view before = low.substr(0, low.size() - brackets.close.size());
        const std::size_t open = before.rfind(brackets.open);
        if (open == std::string_view::npos)
            continue;
        const std::string_view inside = TrimEnd(before.substr(open + brackets.open.size()));
        std::size_t first = 0;
        while (first < inside.size() && IsBlank(inside[first]))
            ++first;
        if (first < inside.size() && CutTrailing(inside.substr(first), true) == 0)
            return open;
    }

    // A CJK rank: a count and a unit, with a qualifier before it or not.
    for (std::string_view unit : kCjkRankUnits) {
        if (!EndsWith(low, unit))
            continue;
        const std::string_view before = low.substr(0, low.size() - unit.size());
        const std::size_t count = CountBytesAtEnd(before);
        if (count == 0)
            continue;
        std::size_t start = before.size() - count;
        for (std::string_view qualifier : kCjkQualifiers)
            if (EndsWith(low.substr(0, start), qualifier)) {
                start -= qualifier.size();
                break;
            }
        return start;
    }

    // A Latin rank: digits and a unit (9p, 9 dan, 1-kyu), or a letter and
    // digits (P9).
    for (std::string_view unit : kLatinRankUnits) {
        if (!EndsWith(low, unit))
            continue;
        std::size_t at = low.size() - unit.size();
        if (at > 0 && (low[at - 1] == ' ' || low[at - 1] == '-'))
            --at;
        std::size_t digits = 0;
        while (digits < 2 && digits < at && IsDigit(low[at - 1 - digits]))
            ++digits;
        if (digits == 0 || (digits < at && IsDigit(low[at - 1 - digits])))
            continue;
        if (WordStartsAt(low, at - digits))
            return at - digits;
    }
    {
        std::size_t digits = 0;
        while (digits < 2 && digits < low.size() && IsDigit(low[low.size() - 1 - digits]))
            ++digits;
        const std::size_t letter = low.size() - digits - 1;
        if (digits > 0 && digits < low.size() &&
            std::find(std::begin(kLatinRankLetters), std::end(kLatinRankLetters), low[letter]) !=
                std::end(kLatinRankLetters) &&
            WordStartsAt(low, letter))
            return letter;
    }

    // Whole Latin words: pro, ama, the titles.
    auto latinWord = [&](std::string_view word) {
        return EndsWith(low, word) && WordStartsAt(low, low.size() - word.size()) &&
               (mayEmpty || low.size() > word.size());
    };
    for (std::string_view word : kLatinWords)
        if (latinWord(word))
            return low.size() - word.size();
    for (std::string_view title : kLatinTitles)
        if (latinWord(title))
            return low.size() - title.size();

    for (std::string_view title : kCjkTitles)
        if (EndsWith(low, title))
            return low.size() - title.size();
    for (std::string_view title : kTitlesAfterBlank)
        if (EndsWith(low, title) && BlankBefore(low, low.size() - title.size()))
            return low.size() - title.size();
    for (std::string_view qualifier : kCjkQualifiers)
        if (EndsWith(low, qualifier) && BlankBefore(low, low.size() - qualifier.size()))
            return low.size() - qualifier.size();
    return low.size();
}

// The length of low once every rank word at its end is taken off, blanks
// before them too. Unless mayEmpty, a cut that would leave nothing is not
// made: a name that is only a rank word stays a name.
std::size_t CutTrailing(std::string_view low, bool mayEmpty)
{
    low = TrimEnd(low);
    for (;;) {
        const std::size_t cut = CutOne(low, mayEmpty);
        if (cut == low.size())
            return low.size();
        const std::string_view rest = TrimEnd(low.substr(0, cut));
        if (rest.empty() && !mayEmpty)
            return low.size();
        low = rest;
        if (low.empty())
            return 0;
    }
}

} // namespace

std::string NameWithoutRank(std::string_view utf8Name)
{
    const std::string folded = FoldWidth(utf8Name);
    std::string low = folded;
    AsciiLowerInPlace(low);

    std::size_t first = 0;
    while (first < low.size() && IsBlank(low[first]))
        ++first;
    std::size_t end = CutTrailing(std::string_view(low).substr(first), false) + first;

    const std::string_view kept = std::string_view(low).substr(first, end - first);
    for (std::string_view title : kLeadingTitles) {
        if (kept.size() > title.size() && kept.substr(0, title.size()) == title) {
            std::size_t rest = first + title.size();
            while (rest < end && IsBlank(low[rest]))
                ++rest;
            if (rest < end)
                first = rest;
            break;
        }
    }
    return folded.substr(first, end - first);
}

std::string KeyOfNameWithoutRank(std::string_view nameWithoutRank)
{
    std::string key;
    key.reserve(nameWithoutRank.size());
    for (const char c : nameWithoutRank)
        if (!IsBlank(c))
            key += AsciiLower(c);
    return key;
}

std::string PlayerKey(std::string_view utf8Name)
{
    return KeyOfNameWithoutRank(NameWithoutRank(utf8Name));
}

std::string ShownPlayerName(std::span<const SNameSpelling> spellings)
{
    std::vector<SNameSpelling> forms;
    for (const SNameSpelling& spelling : spellings) {
        std::string form = NameWithoutRank(spelling.spelling);
        const auto same =
            std::find_if(forms.begin(), forms.end(), [&](const SNameSpelling& f) { return f.spelling == form; });
        if (same != forms.end())
            same->games += spelling.games;
        else
            forms.push_back({std::move(form), spelling.games});
    }
    const SNameSpelling* best = nullptr;
    for (const SNameSpelling& form : forms)
        if (!best || form.games > best->games)
            best = &form;
    return best ? best->spelling : std::string();
}
