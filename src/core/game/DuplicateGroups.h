#pragma once

#include "game/DuplicateKey.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The files whose keys may make them copies of one another: files with the
// same game hash, or (from kPrefixMoves moves on) the same hash of their
// first moves, joined into sets of two or more. Each set is given by the
// indexes of keys; unusable keys are in none.
std::vector<std::vector<std::size_t>> CandidateSets(const std::vector<const SDuplicateKey*>& keys);

// The groups of one candidate set, found by comparing the games themselves:
// equal canonical forms (and, for short games, equal players and date) are
// one game, and a copy cut short of kPrefixMoves moves or more joins the
// longest game it is the start of (of several as long, the least form).
// Each group holds two or more indexes into games; a hash that two
// different games share groups nothing.
std::vector<std::vector<std::size_t>> ExactGroups(const std::vector<SCanonicalGame>& games);

// ExactGroups for games handed one at a time, so that a search can read a
// file, add its game, let the window's events run, and read the next: the
// forms go into a tree of their tokens (a shared start is held once), and
// the work is linear in the tokens added, whatever the games share. The
// games are numbered in the order added.
class CGameGrouping
{
public:
    CGameGrouping();
    void Add(const SCanonicalGame& game);
    std::size_t Count() const { return m_games.size(); }
    std::vector<std::vector<std::size_t>> Groups() const;

private:
    // A node is one form's start; its first child is held in place (most
    // nodes have one), the others in m_moreChildren by (node, token).
    struct SNode
    {
        std::uint32_t firstToken = 0;
        std::uint32_t firstChild = 0; // 0: none (the root is no one's child)
    };
    struct SGame
    {
        std::uint32_t node = 0;
        std::uint32_t moves = 0;
        std::string identity;
    };
    std::uint32_t Child(std::uint32_t node, std::uint32_t token);

    std::vector<SNode> m_nodes;
    std::unordered_map<std::uint64_t, std::uint32_t> m_moreChildren;
    std::vector<SGame> m_games;
};
