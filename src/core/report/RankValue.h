#pragma once

#include <optional>
#include <string_view>

// The strength of a Go rank, weakest lowest: 30k ... 1k < 1d ... 9d < 1p ...
// 9p. Read from the cell's bytes, so it needs no charset: a number, then
// k, kyu, d, dan, p, pro (any letter case, a blank or '-' between allowed),
// or 级, 級, 段, 급, 단 in UTF-8, GB18030/GBK, Big5, Shift_JIS, EUC-JP or
// EUC-KR, each of whose byte forms after a digit means that character only;
// before those characters the number may also be written in numerals of the
// same charset (九段, 二十五级; 初段 is 1 dan), and 格 may follow them (三段格).
// 业余 or アマ before the number marks an amateur, whose rank is the dan or
// kyu it names. Also the professional form P9. A trailing '?' (uncertain) or
// '*' (a server's mark) is allowed and does not change the strength. Nothing
// when the text is no rank ("NR", empty, "3x").
std::optional<int> RankStrength(std::string_view text);
