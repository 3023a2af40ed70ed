#include "game/GameTimeline.h"

#include <algorithm>

namespace {
// A real game of a thousand moves visits some tens of thousands of points
// in its group searches; a record that needs this many is made to keep the
// board busy, and is played no further.
constexpr std::uint64_t kMaxWork = 16'000'000;
constexpr int kMovesPerStopCheck = 16384;
} // namespace

CGameTimeline::CGameTimeline(const SGameRecord& record, const StopCheck& stop)
    : m_record(record),
      // About a byte of copies per move, and never more than a few hundred
      // moves to play for a position.
      m_interval(std::max(64, record.width * record.height / 4))
{
    CBoard board(record.width, record.height);
    std::size_t nextSetup = 0;
    int irregular = 0;
    ApplySetup(board, nextSetup, 0);
    const int count = MoveCount();
    for (int i = 0;; ++i) {
        if (i % m_interval == 0) {
            m_snapshots.push_back({board.Captures(EStone::Black), board.Captures(EStone::White), irregular, nextSetup});
            m_cells.insert(m_cells.end(), board.Cells().begin(), board.Cells().end());
        }
        if (i == count || board.Work() > kMaxWork || (stop && i % kMovesPerStopCheck == 0 && i > 0 && stop())) {
            m_played = i;
            break;
        }
        if (!Step(board, i, nextSetup))
            ++irregular;
    }
}

void CGameTimeline::ApplySetup(CBoard& board, std::size_t& nextSetup, std::uint32_t upTo) const
{
    const std::vector<SSetupRect>& setup = m_record.setup;
    for (; nextSetup < setup.size() && setup[nextSetup].beforeMove <= upTo; ++nextSetup) {
        const SSetupRect& rect = setup[nextSetup];
        for (int y = rect.top; y <= rect.bottom; ++y) {
            for (int x = rect.left; x <= rect.right; ++x)
                board.Put(x, y, rect.stone);
        }
    }
}

bool CGameTimeline::Step(CBoard& board, int index, std::size_t& nextSetup) const
{
    const SGameMove& move = m_record.moves[static_cast<std::size_t>(index)];
    bool regular = true;
    if (move.kind == SGameMove::EKind::Play)
        regular = board.Play(move.colour, move.x, move.y);
    else if (move.kind == SGameMove::EKind::Unreadable)
        regular = false;
    ApplySetup(board, nextSetup, static_cast<std::uint32_t>(index + 1));
    return regular;
}

SGamePosition CGameTimeline::At(int n) const
{
    n = std::clamp(n, 0, m_played);
    // From the copy before n, so the last move is played again and known.
    const int slot = n == 0 ? 0 : (n - 1) / m_interval;
    const SSnapshot& snapshot = m_snapshots[static_cast<std::size_t>(slot)];
    SGamePosition position{CBoard(m_record.width, m_record.height), 0, 0, std::nullopt, false};
    const std::size_t area = position.board.Cells().size();
    position.board.Restore(m_cells.data() + static_cast<std::size_t>(slot) * area, snapshot.blackCaptures,
                           snapshot.whiteCaptures);
    position.irregular = snapshot.irregular;
    std::size_t nextSetup = snapshot.nextSetup;
    for (int i = slot * m_interval; i < n; ++i) {
        const bool regular = Step(position.board, i, nextSetup);
        if (!regular)
            ++position.irregular;
        if (i + 1 == n) {
            position.lastMove = m_record.moves[static_cast<std::size_t>(i)];
            position.lastMoveIrregular = !regular;
        }
    }
    position.moveNumber = n;
    return position;
}
