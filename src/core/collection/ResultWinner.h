#pragma once

#include <string_view>

enum class EResultWinner { None, Black, White };

// Who won, by the result value RE of a record whose CA value is charset:
// Black for "B+" or "b+" at the start, White for "W+" or "w+"; otherwise a
// result written in Chinese, Japanese or Korean that names a colour (黑, 黒,
// 흑 or 白, 백) before a win word (胜, 勝, 승), with any text between, as in
// 黑中盘胜 or 흑 불계승; the colour named last before the first win word
// counts. Draws, void games and anything else have no winner.
//
// The few characters are matched as bytes of the record's charset, stepping
// over whole characters so that the second byte of one is never read as the
// start of another: the charset CA names when it is one of the CJK or UTF-8
// ones, and UTF-8 when the value is valid UTF-8; without either, each CJK
// charset is tried in turn.
EResultWinner WinnerOfResult(std::string_view result, std::string_view charset);
