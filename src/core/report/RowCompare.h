#pragma once

#include <string_view>

// Compares the shown texts of two rows in the sort column: byte by byte by
// code value, letter case counting, the empty text first. Descending swaps
// the operands. Negative, 0 or positive.
int CompareRows(std::string_view a, std::string_view b, bool ascending);
