#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// board: for each file "PATH<TAB>MOVES<TAB>ROWS": the moves of the main line
// (passes and irregular moves included) and the position at the end, after
// move (clamped to the end; 0 is the start) when given, as rows from the top
// joined by "/" (X black, O white, . empty). A file that holds no game
// prints "PATH<TAB>fail" and the reason on err; a damaged one prints what
// could be read and notes the reason on err. pretty draws each board with
// coordinates instead.
int RunBoard(const std::vector<std::string>& files, std::optional<int> move, bool pretty, std::ostream& out,
             std::ostream& err);
