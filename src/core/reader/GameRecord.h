#pragma once

#include "reader/PropertyTable.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class EStone : std::uint8_t { Empty = 0, Black = 1, White = 2 };

inline EStone Opponent(EStone colour)
{
    return colour == EStone::Black ? EStone::White : EStone::Black;
}

// One B or W property of the main line. Points count from the top left
// corner, 0 to 51 (the SGF letters a-z, then A-Z).
struct SGameMove
{
    enum class EKind : std::uint8_t {
        Play,
        Pass,       // an empty value, or tt on boards up to 19
        Unreadable, // a value that names no point: played nowhere, irregular
    };

    EStone colour = EStone::Black;
    EKind kind = EKind::Play;
    std::uint8_t x = 0;
    std::uint8_t y = 0;
};

// Stones put on or taken off the board by AB, AW or AE: one point or a
// compressed rectangle, already clipped to the board. It applies after
// beforeMove moves of the main line and before the next one.
struct SSetupRect
{
    std::uint32_t beforeMove = 0;
    EStone stone = EStone::Empty; // Empty for AE
    std::uint8_t left = 0;
    std::uint8_t top = 0;
    std::uint8_t right = 0;
    std::uint8_t bottom = 0;
};

// The comment (C) of a node of the main line, after afterMove moves; the
// comments of several nodes between two moves are joined.
struct SNodeComment
{
    std::uint32_t afterMove = 0;
    std::string text;
};

// Why a record was read only in part, or not at all.
enum class EGameProblem : std::uint8_t {
    None,
    CannotOpen,    // the file cannot be opened, or is no regular file
    NoGameTree,    // no "(" followed by ";"
    BinaryForm,    // the coded binary form: game information only
    CutOff,        // the input ends inside the game tree
    ValueCutOff,   // a value runs into the end of the input
    TooManyStones, // more setup stones than any real record holds
    TooLongToPlay, // playing the moves costs more than any real game
    Stopped,       // the caller no longer wanted the record
    TooLarge,      // larger than any real record: not read at all
};

// Asked now and then while a long record is read or played: true stops the
// work, keeping what was done (the preview drops a game the user has moved
// on from). An empty one never stops.
using StopCheck = std::function<bool()>;

// The main line of the first game tree of a record: the board size, the
// setup stones and moves in their order, the node comments and the root
// node's properties as the list reader stores them (a later value of a
// property under the empty identifier).
struct SGameRecord
{
    static constexpr int kDefaultSize = 19;
    static constexpr int kMaxSize = 52;

    int width = kDefaultSize;
    int height = kDefaultSize;
    std::vector<SGameMove> moves;
    std::vector<SSetupRect> setup;
    std::vector<SNodeComment> comments;
    CPropertyTable root;
    // Who is to play at the start (PL before the first move), or Empty.
    EStone firstPlayer = EStone::Empty;
    EGameProblem problem = EGameProblem::None;
    // SZ names a size no board has (0, over 52, not a number): the game is
    // still played, on the default board, and this says why it looks so.
    bool unplayableSize = false;

    // Whether there is a game tree to show (perhaps in part).
    bool HasGame() const
    {
        return problem != EGameProblem::CannotOpen && problem != EGameProblem::NoGameTree &&
               problem != EGameProblem::BinaryForm && problem != EGameProblem::TooLarge;
    }
    // The comment of the node of move n (0: the root and the setup nodes
    // before the first move), or null.
    const std::string* CommentAt(std::uint32_t n) const;
};

// Every setup point of the record, rectangles expanded, in their order.
struct SSetupPoint
{
    std::uint32_t beforeMove;
    EStone stone;
    std::uint8_t x;
    std::uint8_t y;
};
std::vector<SSetupPoint> ExpandSetup(const SGameRecord& record);

// The string-table number of the text that says why, or 0 for None.
int GameProblemStringId(EGameProblem problem);
