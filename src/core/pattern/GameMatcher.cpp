#include "pattern/GameMatcher.h"

#include <algorithm>
#include <map>

CPreparedPattern::CPreparedPattern(const SPattern& pattern)
    : m_pattern(pattern), m_selfSymmetries(PatternSelfSymmetries(pattern))
{
    const int size = pattern.boardSize;
    std::map<std::pair<int, bool>, int> orientationOf;
    for (SPlacement& placement : PatternPlacements(pattern)) {
        const auto key = std::make_pair(placement.symmetry, placement.exchanged);
        auto found = orientationOf.find(key);
        if (found == orientationOf.end()) {
            SOrientation orientation;
            for (int y = 0; y < placement.height; ++y) {
                for (int x = 0; x < placement.width; ++x) {
                    const char sign = placement.signs[static_cast<std::size_t>(y * placement.width + x)];
                    if (sign == 'X')
                        orientation.black.push_back({x, y});
                    else if (sign == 'O')
                        orientation.white.push_back({x, y});
                }
            }
            orientation.firstRow = size;
            orientation.anchors.assign(static_cast<std::size_t>(size), 0);
            orientation.placementAt.assign(static_cast<std::size_t>(size * size), -1);
            found = orientationOf.emplace(key, static_cast<int>(m_orientations.size())).first;
            m_orientations.push_back(std::move(orientation));
        }
        SOrientation& orientation = m_orientations[static_cast<std::size_t>(found->second)];
        orientation.anchors[static_cast<std::size_t>(placement.top)] |= std::uint64_t{1} << placement.left;
        orientation.firstRow = std::min(orientation.firstRow, placement.top);
        orientation.lastRow = std::max(orientation.lastRow, placement.top);
        orientation.placementAt[static_cast<std::size_t>(placement.top * size + placement.left)] =
            static_cast<int>(m_placements.size());

        SPreparedPlacement prepared;
        for (int stones = 1; stones >= 0; --stones) {
            for (int y = 0; y < placement.height; ++y) {
                for (int x = 0; x < placement.width; ++x) {
                    const char sign = placement.signs[static_cast<std::size_t>(y * placement.width + x)];
                    const bool stone = sign == 'X' || sign == 'O';
                    if (sign != '*' && stone == (stones == 1))
                        prepared.cells.push_back({(placement.top + y) * size + placement.left + x, sign});
                }
            }
        }
        prepared.placement = std::move(placement);
        m_placements.push_back(std::move(prepared));
    }
}

CGameMatcher::CGameMatcher(const CPreparedPattern& prepared)
    : m_prepared(prepared), m_size(prepared.Pattern().boardSize), m_everBlack(static_cast<std::size_t>(m_size)),
      m_everWhite(static_cast<std::size_t>(m_size)), m_firstChange(static_cast<std::size_t>(m_size * m_size + 1))
{
}

namespace {

// Row y of a bitmap of a board of size as bits 0 to size - 1.
std::uint64_t BitmapRow(const std::uint8_t* bitmap, int size, int y)
{
    const int first = y * size;
    const int lastByte = (size * size - 1) / 8;
    std::uint64_t word = 0;
    for (int b = first / 8, shift = 0; b <= lastByte && shift < 64; ++b, shift += 8)
        word |= static_cast<std::uint64_t>(bitmap[b]) << shift;
    const std::uint64_t mask = size == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << size) - 1;
    return (word >> (first % 8)) & mask;
}

} // namespace

bool CGameMatcher::FindCandidates(const SIndexedGame& game)
{
    for (int y = 0; y < m_size; ++y) {
        m_everBlack[static_cast<std::size_t>(y)] = BitmapRow(game.everBlack, m_size, y);
        m_everWhite[static_cast<std::size_t>(y)] = BitmapRow(game.everWhite, m_size, y);
    }
    m_candidates.clear();
    for (const CPreparedPattern::SOrientation& orientation : m_prepared.Orientations()) {
        for (int y = orientation.firstRow; y <= orientation.lastRow; ++y) {
            std::uint64_t anchors = orientation.anchors[static_cast<std::size_t>(y)];
            for (const SGridPoint& at : orientation.black) {
                if (!anchors)
                    break;
                anchors &= m_everBlack[static_cast<std::size_t>(y + at.y)] >> at.x;
            }
            for (const SGridPoint& at : orientation.white) {
                if (!anchors)
                    break;
                anchors &= m_everWhite[static_cast<std::size_t>(y + at.y)] >> at.x;
            }
            while (anchors) {
                const int x = __builtin_ctzll(anchors);
                anchors &= anchors - 1;
                m_candidates.push_back(orientation.placementAt[static_cast<std::size_t>(y * m_size + x)]);
            }
        }
    }
    return !m_candidates.empty();
}

void CGameMatcher::SortChangesByPoint(const SIndexedGame& game)
{
    std::fill(m_firstChange.begin(), m_firstChange.end(), 0);
    for (std::size_t i = 0; i < game.unitCount; ++i) {
        const std::uint16_t unit = game.Unit(i);
        if (UnitOp(unit) != EPositionOp::OtherMove)
            ++m_firstChange[static_cast<std::size_t>(UnitPoint(unit)) + 1];
    }
    for (std::size_t p = 1; p < m_firstChange.size(); ++p)
        m_firstChange[p] += m_firstChange[p - 1];
    m_changes.resize(m_firstChange.back());
    // Filled from the back of each point's range, so the counts end up as
    // the starts again.
    std::uint32_t position = 0;
    std::vector<std::uint32_t>& next = m_firstChange;
    for (std::size_t i = 0; i < game.unitCount; ++i) {
        const std::uint16_t unit = game.Unit(i);
        EStone state = EStone::Empty;
        switch (UnitOp(unit)) {
        case EPositionOp::OtherMove:
            ++position;
            continue;
        case EPositionOp::BlackMove:
            ++position;
            state = EStone::Black;
            break;
        case EPositionOp::WhiteMove:
            ++position;
            state = EStone::White;
            break;
        case EPositionOp::SetupBlack:
            state = EStone::Black;
            break;
        case EPositionOp::SetupWhite:
            state = EStone::White;
            break;
        default:
            break;
        }
        m_changes[next[static_cast<std::size_t>(UnitPoint(unit))]++] = {position, state};
    }
    // Each start has moved on to the next point's start: shift them back.
    for (std::size_t p = m_firstChange.size() - 1; p > 0; --p)
        m_firstChange[p] = m_firstChange[p - 1];
    m_firstChange[0] = 0;
}

EStone CGameMatcher::StateAt(int point, std::uint32_t position) const
{
    EStone state = EStone::Empty;
    const std::uint32_t end = m_firstChange[static_cast<std::size_t>(point) + 1];
    for (std::uint32_t i = m_firstChange[static_cast<std::size_t>(point)]; i < end && m_changes[i].position <= position;
         ++i)
        state = m_changes[i].state;
    return state;
}

std::uint32_t CGameMatcher::NextMeeting(int point, char sign, std::uint32_t position) const
{
    const std::uint32_t end = m_firstChange[static_cast<std::size_t>(point) + 1];
    std::uint32_t i = m_firstChange[static_cast<std::size_t>(point)];
    EStone state = EStone::Empty;
    for (; i < end && m_changes[i].position <= position; ++i)
        state = m_changes[i].state;
    if (SignAccepts(sign, state))
        return position;
    // Later changes; of several at one position the last one counts.
    for (; i < end; ++i) {
        if (i + 1 < end && m_changes[i + 1].position == m_changes[i].position)
            continue;
        if (SignAccepts(sign, m_changes[i].state))
            return m_changes[i].position;
    }
    return kNever;
}

std::uint32_t CGameMatcher::FirstMatch(const std::vector<CPreparedPattern::SCell>& cells, std::uint32_t bound) const
{
    std::uint32_t position = 0;
    // Each cell moves the position on to where it is met; the position is
    // a match once a whole round over the cells leaves it where it was.
    std::size_t unchanged = 0;
    for (std::size_t i = 0; unchanged < cells.size(); i = (i + 1) % cells.size()) {
        const std::uint32_t next = NextMeeting(cells[i].point, cells[i].sign, position);
        if (next >= bound)
            return kNever;
        if (next == position) {
            ++unchanged;
        } else {
            position = next;
            unchanged = 1;
        }
    }
    return position < bound ? position : kNever;
}

bool CGameMatcher::MatchesAt(const std::vector<CPreparedPattern::SCell>& cells, std::uint32_t position) const
{
    return std::all_of(cells.begin(), cells.end(), [&](const CPreparedPattern::SCell& c) {
        return SignAccepts(c.sign, StateAt(c.point, position));
    });
}

std::optional<SPatternMove> CGameMatcher::Continuation(const SIndexedGame& game, std::uint32_t firstHit) const
{
    const auto& placements = m_prepared.Placements();
    std::uint32_t position = 0;
    for (std::size_t i = 0; i < game.unitCount; ++i) {
        const std::uint16_t unit = game.Unit(i);
        const EPositionOp op = UnitOp(unit);
        if (!UnitIsMove(unit))
            continue;
        ++position;
        if (position <= firstHit || op == EPositionOp::OtherMove)
            continue;
        const int x = UnitPoint(unit) % m_size;
        const int y = UnitPoint(unit) / m_size;
        const EStone colour = op == EPositionOp::BlackMove ? EStone::Black : EStone::White;
        std::optional<SPatternMove> best;
        for (const int m : m_matched) {
            const SPlacement& placement = placements[static_cast<std::size_t>(m)].placement;
            if (!placement.Contains(x, y))
                continue;
            const SPatternMove move =
                CanonicalPatternMove(m_prepared.Pattern(), m_prepared.SelfSymmetries(),
                                     MoveThroughPlacement(m_prepared.Pattern(), placement, x, y, colour));
            if (!best || PatternMoveBefore(move, *best))
                best = move;
        }
        if (best)
            return best;
    }
    return std::nullopt;
}

std::optional<CGameMatcher::SOutcome> CGameMatcher::Match(const SIndexedGame& game)
{
    if (game.width != m_size || game.height != m_size || !FindCandidates(game))
        return std::nullopt;
    SortChangesByPoint(game);
    const auto& placements = m_prepared.Placements();
    std::uint32_t best = kNever;
    for (const int c : m_candidates) {
        const std::uint32_t hit = FirstMatch(placements[static_cast<std::size_t>(c)].cells, best);
        if (hit < best) {
            best = hit;
            if (best == 0)
                break;
        }
    }
    if (best == kNever)
        return std::nullopt;
    m_matched.clear();
    for (const int c : m_candidates) {
        if (MatchesAt(placements[static_cast<std::size_t>(c)].cells, best))
            m_matched.push_back(c);
    }
    return SOutcome{best, Continuation(game, best)};
}
