#pragma once

#include <string_view>

// Index of the derived names: $Opponent, $OpponentRank, $Winner,
// $WinnerRank, $Loser, $LoserRank.
enum EDerivedValue : int {
    kOpponent = 0,
    kOpponentRank = 1,
    kWinner = 2,
    kWinnerRank = 3,
    kLoser = 4,
    kLoserRank = 5,
    kPlainSignature = 6,
};

// 0 to 5 for a derived signature ("$Winner", also "$Winner:anything"), 6 for
// everything else.
int ClassifySignature(std::string_view signature);
