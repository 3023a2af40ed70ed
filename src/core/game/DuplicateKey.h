#pragma once

#include "files/FileStatus.h"
#include "reader/GameRecord.h"

#include <cstdint>
#include <string>
#include <vector>

// Two records are one game when their main lines hold the same setup stones
// and moves on the same board, under one of the 8 symmetries of the board
// (colours are never swapped). The game's canonical form is the least, in
// token order, of its 8 transformed forms; the least form of a game's first
// n moves is the first part of the least form of the whole game, so a copy
// cut short shares the first part of the longer copy's form.
struct SCanonicalGame
{
    // The board size first, then per node the setup points (in token order)
    // before the node's move.
    std::vector<std::uint32_t> tokens;
    std::uint32_t moves = 0;
    // Tokens up to and including the kPrefixMoves-th move; 0 when shorter.
    std::size_t prefixTokens = 0;
    // Games shorter than kShortGameMoves (problems, opening lines) are the
    // same only with the same players and date: these bytes, else empty.
    std::string identity;
};

// A copy cut short joins the longer copy's group only from this many moves
// on: a shorter common start is a common opening, not a copy.
constexpr std::uint32_t kPrefixMoves = 50;
// Below this many moves the moves alone do not make two records one game.
constexpr std::uint32_t kShortGameMoves = 20;

// False (and nothing to compare) for a record without a game tree, in the
// binary form (its moves are not read) or with neither stones nor moves.
bool MakeCanonicalGame(const SGameRecord& record, SCanonicalGame& game);

// What the search keeps of one game file: hashes that pick the candidates,
// and what orders the copies of a group.
struct SDuplicateKey
{
    std::uint64_t gameHash = 0;   // the whole canonical form, identity included
    std::uint64_t prefixHash = 0; // the first kPrefixMoves moves; 0 when shorter
    SFileStatus file;             // the file as it was when read
    std::uint32_t moves = 0;
    bool read = false;   // false: the file was not read yet
    bool usable = false; // false: no game to compare
    bool hasComments = false;
};

std::uint64_t HashTokens(const std::uint32_t* tokens, std::size_t count, const std::string& identity);
SDuplicateKey MakeDuplicateKey(const SCanonicalGame& game, bool usable, bool hasComments);

// The key of every game of the game file at path, in file order, from one
// read of the file (one unusable key when it cannot be read); with
// allGames false the first game's alone, the file read only that far.
std::vector<SDuplicateKey> ReadDuplicateKeys(const std::string& path, bool allGames = true);
// Reads it again for the comparison of a group; false when it holds no game.
bool ReadCanonicalGame(const std::string& path, SCanonicalGame& game);

// The copy a group keeps comes first: most moves, then one with comments,
// then the oldest file, then the path in byte order.
bool KeepsBefore(const SDuplicateKey& a, const std::string& pathA, const SDuplicateKey& b, const std::string& pathB);
