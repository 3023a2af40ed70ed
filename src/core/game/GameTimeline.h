#pragma once

#include "game/Board.h"
#include "reader/GameRecord.h"

#include <cstdint>
#include <optional>
#include <vector>

// The position after any number of moves of a record's main line.
struct SGamePosition
{
    CBoard board;
    int moveNumber = 0;
    // Moves up to here that were skipped: onto a taken point, off the
    // board, or naming no point.
    int irregular = 0;
    // The last move played to reach here, if any.
    std::optional<SGameMove> lastMove;
    bool lastMoveIrregular = false;
};

// Plays the main line once and keeps a copy of the board every few moves,
// so a position at any move number costs one copy and at most that many
// moves: stepping through a game never grows with the square of its moves.
// Holds a reference to the record, which must outlive it.
class CGameTimeline
{
public:
    // stop may end the playing early, as if it were too long to play.
    explicit CGameTimeline(const SGameRecord& record, const StopCheck& stop = {});

    // Moves in the record; the positions reach PlayedCount(), which is less
    // only when playing was cut short (TooLongToPlay).
    int MoveCount() const { return static_cast<int>(m_record.moves.size()); }
    int PlayedCount() const { return m_played; }
    bool CutShort() const { return m_played < MoveCount(); }

    // The position after n moves, n clamped to 0..PlayedCount(); 0 is the
    // setup alone.
    SGamePosition At(int n) const;
    SGamePosition AtEnd() const { return At(m_played); }

private:
    struct SSnapshot
    {
        int blackCaptures;
        int whiteCaptures;
        int irregular;
        std::size_t nextSetup;
    };

    // Plays move index (0-based) and the setup after it; false when the
    // move was irregular.
    bool Step(CBoard& board, int index, std::size_t& nextSetup) const;
    void ApplySetup(CBoard& board, std::size_t& nextSetup, std::uint32_t upTo) const;

    const SGameRecord& m_record;
    int m_interval;
    int m_played = 0;
    std::vector<SSnapshot> m_snapshots;
    // The cells of every snapshot, one board after the other.
    std::vector<EStone> m_cells;
};
