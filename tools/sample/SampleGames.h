#pragma once

#include <string>
#include <vector>

// The sample games that make run opens: about 200 records of professional
// and club games, as real archives hold them: Chinese records in GB2312,
// Japanese in Shift_JIS, Korean in EUC-KR, each with its CA; international
// ones in UTF-8; club records in plain ASCII without CA; and two historic
// games in the coded binary form. The same list every time.
struct CSampleGame
{
    std::string name;  // path below the sample folder, e.g. "japan/kisei-2016-1.sgf"
    std::string bytes; // the whole file
    bool viewed = false;
};

std::vector<CSampleGame> SampleGames();
