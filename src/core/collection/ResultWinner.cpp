#include "collection/ResultWinner.h"

#include "util/AsciiFold.h"

#include <array>
#include <string>

namespace {

enum class EFamily { Utf8, Gbk, ShiftJis, EucJp, EucKr, Big5 };

enum class EMark { Black, White, Win, NoWin };

struct SGlyph
{
    std::string_view bytes;
    EMark mark;
};

// 무 before 승 is 무승부, a draw, not a win.
constexpr std::array kUtf8{
    SGlyph{"\xE9\xBB\x91", EMark::Black}, SGlyph{"\xE9\xBB\x92", EMark::Black}, SGlyph{"\xED\x9D\x91", EMark::Black},
    SGlyph{"\xE7\x99\xBD", EMark::White}, SGlyph{"\xEB\xB0\xB1", EMark::White}, SGlyph{"\xE8\x83\x9C", EMark::Win},
    SGlyph{"\xE5\x8B\x9D", EMark::Win},   SGlyph{"\xEC\x8A\xB9", EMark::Win},   SGlyph{"\xEB\xAC\xB4", EMark::NoWin},
};
// GB2312, GBK and GB18030 (whose two-byte part is GBK's).
constexpr std::array kGbk{
    SGlyph{"\xBA\xDA", EMark::Black}, SGlyph{"\xFC\x5C", EMark::Black}, SGlyph{"\xB0\xD7", EMark::White},
    SGlyph{"\xCA\xA4", EMark::Win},   SGlyph{"\x84\xD9", EMark::Win},
};
// Shift_JIS with the Windows additions (黑 is one of them).
constexpr std::array kShiftJis{
    SGlyph{"\x8D\x95", EMark::Black},
    SGlyph{"\xEE\xEC", EMark::Black},
    SGlyph{"\x94\x92", EMark::White},
    SGlyph{"\x8F\x9F", EMark::Win},
};
constexpr std::array kEucJp{
    SGlyph{"\xB9\xF5", EMark::Black},
    SGlyph{"\xC7\xF2", EMark::White},
    SGlyph{"\xBE\xA1", EMark::Win},
};
// EUC-KR and its extension CP949: Hangul and the Hanja of KS X 1001.
constexpr std::array kEucKr{
    SGlyph{"\xC8\xE6", EMark::Black}, SGlyph{"\xFD\xD9", EMark::Black}, SGlyph{"\xB9\xE9", EMark::White},
    SGlyph{"\xDB\xDC", EMark::White}, SGlyph{"\xBD\xC2", EMark::Win},   SGlyph{"\xE3\xAD", EMark::Win},
    SGlyph{"\xB9\xAB", EMark::NoWin},
};
constexpr std::array kBig5{
    SGlyph{"\xB6\xC2", EMark::Black},
    SGlyph{"\xA5\xD5", EMark::White},
    SGlyph{"\xD0\x60", EMark::Win},
    SGlyph{"\xB3\xD3", EMark::Win},
};

bool InRange(unsigned char c, unsigned char low, unsigned char high)
{
    return c >= low && c <= high;
}

// The length of the character that starts at text[i], at least 1.
std::size_t CharLength(EFamily family, std::string_view text, std::size_t i)
{
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    switch (family) {
    case EFamily::Utf8:
        return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    case EFamily::Gbk:
        return !InRange(c, 0x81, 0xFE) ? 1 : InRange(next, 0x30, 0x39) ? 4 : 2;
    case EFamily::ShiftJis:
        return InRange(c, 0x81, 0x9F) || InRange(c, 0xE0, 0xFC) ? 2 : 1;
    case EFamily::EucJp:
        return c == 0x8F ? 3 : c == 0x8E || InRange(c, 0xA1, 0xFE) ? 2 : 1;
    case EFamily::EucKr:
    case EFamily::Big5:
        return InRange(c, 0x81, 0xFE) ? 2 : 1;
    }
    return 1;
}

template <std::size_t N> EResultWinner Scan(EFamily family, std::string_view text, const std::array<SGlyph, N>& glyphs)
{
    EResultWinner colour = EResultWinner::None;
    bool afterNoWin = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharLength(family, text, i);
        const std::string_view character = text.substr(i, length);
        i += length;
        const SGlyph* found = nullptr;
        for (const SGlyph& glyph : glyphs) {
            if (glyph.bytes == character) {
                found = &glyph;
                break;
            }
        }
        const bool noWin = afterNoWin;
        afterNoWin = found && found->mark == EMark::NoWin;
        if (!found)
            continue;
        if (found->mark == EMark::Black)
            colour = EResultWinner::Black;
        else if (found->mark == EMark::White)
            colour = EResultWinner::White;
        else if (found->mark == EMark::Win && !noWin && colour != EResultWinner::None)
            return colour;
    }
    return EResultWinner::None;
}

EResultWinner ScanFamily(EFamily family, std::string_view text)
{
    switch (family) {
    case EFamily::Utf8:
        return Scan(family, text, kUtf8);
    case EFamily::Gbk:
        return Scan(family, text, kGbk);
    case EFamily::ShiftJis:
        return Scan(family, text, kShiftJis);
    case EFamily::EucJp:
        return Scan(family, text, kEucJp);
    case EFamily::EucKr:
        return Scan(family, text, kEucKr);
    case EFamily::Big5:
        return Scan(family, text, kBig5);
    }
    return EResultWinner::None;
}

// The charset names people write in CA, letter case, '-', '_' and blanks ignored.
bool DeclaredFamily(std::string_view charset, EFamily& family)
{
    std::string name;
    for (const char c : charset) {
        if (c != '-' && c != '_' && c != ' ')
            name += AsciiLower(c);
    }
    struct SName
    {
        std::string_view name;
        EFamily family;
    };
    static constexpr std::array kNames{
        SName{"utf8", EFamily::Utf8},           SName{"gb2312", EFamily::Gbk},       SName{"gbk", EFamily::Gbk},
        SName{"gb18030", EFamily::Gbk},         SName{"cp936", EFamily::Gbk},        SName{"euccn", EFamily::Gbk},
        SName{"shiftjis", EFamily::ShiftJis},   SName{"sjis", EFamily::ShiftJis},    SName{"cp932", EFamily::ShiftJis},
        SName{"windows31j", EFamily::ShiftJis}, SName{"mskanji", EFamily::ShiftJis}, SName{"eucjp", EFamily::EucJp},
        SName{"euckr", EFamily::EucKr},         SName{"cp949", EFamily::EucKr},      SName{"uhc", EFamily::EucKr},
        SName{"ksc56011987", EFamily::EucKr},   SName{"windows949", EFamily::EucKr}, SName{"big5", EFamily::Big5},
        SName{"big5hkscs", EFamily::Big5},      SName{"cp950", EFamily::Big5},
    };
    for (const SName& known : kNames) {
        if (known.name == name) {
            family = known.family;
            return true;
        }
    }
    return false;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80                 ? 1
                                   : InRange(c, 0xC2, 0xDF) ? 2
                                   : InRange(c, 0xE0, 0xEF) ? 3
                                   : InRange(c, 0xF0, 0xF4) ? 4
                                                            : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

} // namespace

EResultWinner WinnerOfResult(std::string_view result, std::string_view charset)
{
    if (result.size() >= 2 && result[1] == '+') {
        if (result[0] == 'B' || result[0] == 'b')
            return EResultWinner::Black;
        if (result[0] == 'W' || result[0] == 'w')
            return EResultWinner::White;
    }
    // A CA that names a charset its bytes are not in is common: the value is
    // then read as UTF-8 when it is that, as the list shows it.
    EFamily declared = EFamily::Utf8;
    const bool hasDeclared = DeclaredFamily(charset, declared);
    if (hasDeclared) {
        if (const EResultWinner winner = ScanFamily(declared, result); winner != EResultWinner::None)
            return winner;
    }
    if (IsValidUtf8(result))
        return ScanFamily(EFamily::Utf8, result);
    if (hasDeclared)
        return EResultWinner::None;
    for (const EFamily family : {EFamily::Gbk, EFamily::ShiftJis, EFamily::EucKr, EFamily::Big5, EFamily::EucJp}) {
        if (const EResultWinner winner = ScanFamily(family, result); winner != EResultWinner::None)
            return winner;
    }
    return EResultWinner::None;
}
