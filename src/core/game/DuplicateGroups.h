#pragma once

#include "game/DuplicateKey.h"

#include <cstddef>
#include <string>
#include <vector>

// The files whose keys may make them copies of one another: files with the
// same game hash, or (from kPrefixMoves moves on) the same hash of their
// first moves, joined into sets of two or more. Each set is given by the
// indexes of keys; unusable keys are in none.
std::vector<std::vector<std::size_t>> CandidateSets(const std::vector<const SDuplicateKey*>& keys);

// The groups of one candidate set, found by comparing the games themselves:
// equal canonical forms (and, for short games, equal players and date) are
// one game, and a copy cut short of kPrefixMoves moves or more joins the
// longest game it is the start of. Each group holds two or more indexes
// into games; a hash that two different games share groups nothing.
std::vector<std::vector<std::size_t>> ExactGroups(const std::vector<SCanonicalGame>& games);
