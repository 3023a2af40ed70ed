#include "pattern/GameMatcher.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <map>

namespace {

// Positions a stretch: short enough that its bitmaps are nearly one
// position's, long enough that looking at them costs little per position.
// A long stretch, looked at first, spares most short ones the looking.
constexpr std::uint32_t kStretch = 8;
constexpr std::uint32_t kLongStretch = 4 * kStretch;

std::uint8_t SignCode(char sign)
{
    switch (sign) {
    case 'X':
        return CPreparedPattern::kBlack;
    case 'O':
        return CPreparedPattern::kWhite;
    case '.':
        return CPreparedPattern::kEmpty;
    case 'x':
        return CPreparedPattern::kBlackOrEmpty;
    case 'o':
        return CPreparedPattern::kWhiteOrEmpty;
    default:
        return CPreparedPattern::kAny;
    }
}

// 1 where a point holding the stone (Empty, Black, White) misses the sign.
constexpr std::int8_t kMisses[6][3] = {{1, 0, 1}, {1, 1, 0}, {0, 1, 1}, {0, 0, 1}, {0, 1, 0}, {0, 0, 0}};

std::int32_t Misses(std::uint8_t sign, EStone stone)
{
    return kMisses[sign][static_cast<int>(stone)];
}

// Bits low to high of a row.
std::uint64_t Columns(int low, int high)
{
    low = std::max(low, 0);
    if (high < low)
        return 0;
    const std::uint64_t upToHigh = high >= 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (high + 1)) - 1;
    return upToHigh & ~((std::uint64_t{1} << low) - 1);
}

// Row y of a bitmap of a board of size as bits 0 to size - 1, read as
// one word: the index lets eight bytes be read from any byte of a bitmap.
std::uint64_t BitmapRow(const std::uint8_t* bitmap, int size, int y)
{
    static_assert(SGameRecord::kMaxSize + 7 <= 64, "a row and its offset in a byte fit in a word");
    const int first = y * size;
    std::uint64_t word = 0;
    std::memcpy(&word, bitmap + first / 8, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    return (word >> (first % 8)) & Columns(0, size - 1);
}

// out[r] = in[r] & (bitmap[r + at.y] >> at.x), or its complement, over
// every point and row: the rows innermost, so that the compiler takes
// several at once, and no copy of in made first. Whether any anchor is
// left; when none is, all of out is zero. in may be out.
template <bool kComplement>
bool AndShifted(const std::uint64_t* in, std::uint64_t* out, int rows, const std::uint64_t* bitmap,
                const std::vector<SGridPoint>& points)
{
    std::uint64_t any = 0;
    if (points.empty()) {
        for (int r = 0; r < rows; ++r)
            any |= out[r] = in[r];
        return any != 0;
    }
    for (const SGridPoint& at : points) {
        const std::uint64_t* from = bitmap + at.y;
        any = 0;
        for (int r = 0; r < rows; ++r) {
            const std::uint64_t shifted = from[r] >> at.x;
            out[r] = in[r] & (kComplement ? ~shifted : shifted);
            any |= out[r];
        }
        if (!any)
            return false;
        in = out;
    }
    return true;
}

// The signs a stretch's bitmaps are laid over, in the order that rules
// out the most anchors soonest: a stone, then an empty point, and so on
// (early in a game stones are rare, late in it empty points), then 'x' and
// 'o'.
std::vector<std::pair<SGridPoint, std::uint8_t>> StretchChecks(const std::vector<std::uint8_t>& signs, int width,
                                                               int height)
{
    std::vector<std::pair<SGridPoint, std::uint8_t>> stones;
    std::vector<std::pair<SGridPoint, std::uint8_t>> empty;
    std::vector<std::pair<SGridPoint, std::uint8_t>> others;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t sign = signs[static_cast<std::size_t>(y * width + x)];
            auto& to = sign == CPreparedPattern::kBlack || sign == CPreparedPattern::kWhite ? stones
                       : sign == CPreparedPattern::kEmpty                                   ? empty
                                                                                            : others;
            if (sign != CPreparedPattern::kAny)
                to.emplace_back(SGridPoint{x, y}, sign);
        }
    }
    std::vector<std::pair<SGridPoint, std::uint8_t>> checks;
    for (std::size_t i = 0; i < std::max(stones.size(), empty.size()); ++i) {
        if (i < stones.size())
            checks.push_back(stones[i]);
        if (i < empty.size())
            checks.push_back(empty[i]);
    }
    checks.insert(checks.end(), others.begin(), others.end());
    return checks;
}

} // namespace

CPreparedPattern::CPreparedPattern(const SPattern& pattern)
    : m_pattern(pattern), m_selfSymmetries(PatternSelfSymmetries(pattern)),
      m_covering(static_cast<std::size_t>(pattern.boardSize * pattern.boardSize), 0)
{
    const int size = pattern.boardSize;
    m_stoneCount = static_cast<int>(
        std::count_if(pattern.signs.begin(), pattern.signs.end(), [](char c) { return c == 'X' || c == 'O'; }));
    std::map<std::pair<int, bool>, int> orientationOf;
    m_placements = PatternPlacements(pattern);
    for (std::size_t i = 0; i < m_placements.size(); ++i) {
        const SPlacement& placement = m_placements[i];
        const auto key = std::make_pair(placement.symmetry, placement.exchanged);
        auto found = orientationOf.find(key);
        if (found == orientationOf.end()) {
            SOrientation orientation;
            orientation.width = placement.width;
            orientation.height = placement.height;
            for (int y = 0; y < placement.height; ++y) {
                for (int x = 0; x < placement.width; ++x) {
                    const char sign = placement.signs[static_cast<std::size_t>(y * placement.width + x)];
                    orientation.signs.push_back(SignCode(sign));
                    if (sign == 'X')
                        orientation.black.push_back({x, y});
                    else if (sign == 'O')
                        orientation.white.push_back({x, y});
                    else if (sign != '*')
                        orientation.open.emplace_back(y * size + x, SignCode(sign));
                    if (sign == '.')
                        orientation.empty.push_back({x, y});
                }
            }
            orientation.checks = StretchChecks(orientation.signs, placement.width, placement.height);
            orientation.firstRow = size;
            orientation.anchors.assign(static_cast<std::size_t>(size), 0);
            orientation.placementAt.assign(static_cast<std::size_t>(size * size), -1);
            found = orientationOf.emplace(key, static_cast<int>(m_orientations.size())).first;
            m_orientations.push_back(std::move(orientation));
        }
        const int o = found->second;
        m_orientationOf.push_back(o);
        SOrientation& orientation = m_orientations[static_cast<std::size_t>(o)];
        orientation.anchors[static_cast<std::size_t>(placement.top)] |= std::uint64_t{1} << placement.left;
        orientation.firstRow = std::min(orientation.firstRow, placement.top);
        orientation.lastRow = std::max(orientation.lastRow, placement.top);
        orientation.placementAt[static_cast<std::size_t>(placement.top * size + placement.left)] = static_cast<int>(i);
        for (int y = placement.top; y < placement.top + placement.height; ++y) {
            for (int x = placement.left; x < placement.left + placement.width; ++x)
                m_covering[static_cast<std::size_t>(y * size + x)] |= 1u << o;
        }
    }
}

CGameMatcher::CGameMatcher(const CPreparedPattern& prepared)
    : m_prepared(prepared), m_size(prepared.Pattern().boardSize),
      m_rows(static_cast<std::size_t>(kBitmapCount * m_size)),
      m_stretch(static_cast<std::size_t>(kStretchBitmapCount * m_size)),
      m_nowBefore(static_cast<std::size_t>(2 * m_size)), m_rowOf(static_cast<std::size_t>(m_size * m_size)),
      m_bitOf(static_cast<std::size_t>(m_size * m_size)),
      m_possible(prepared.Orientations().size() * static_cast<std::size_t>(m_size)),
      m_possibleCover(static_cast<std::size_t>(m_size)), m_board(static_cast<std::size_t>(m_size * m_size)),
      m_counts(prepared.Placements().size()), m_completeCover(static_cast<std::size_t>(m_size))
{
    for (const CPreparedPattern::SOrientation& orientation : prepared.Orientations()) {
        for (const auto& check : orientation.checks)
            m_orEmptySigns = m_orEmptySigns || check.second >= CPreparedPattern::kBlackOrEmpty;
    }
    for (int point = 0; point < m_size * m_size; ++point) {
        m_rowOf[static_cast<std::size_t>(point)] = static_cast<std::uint8_t>(point / m_size);
        m_bitOf[static_cast<std::size_t>(point)] = std::uint64_t{1} << (point % m_size);
    }
}

bool CGameMatcher::FindCandidates(const SIndexedGame& game)
{
    const std::uint8_t* bitmaps[kBitmapCount] = {game.everBlack, game.everWhite, game.firstHalfBlack,
                                                 game.firstHalfWhite, game.filledInSecondHalf};
    for (int b = 0; b < kBitmapCount; ++b) {
        for (int y = 0; y < m_size; ++y)
            m_rows[static_cast<std::size_t>(b * m_size + y)] = BitmapRow(bitmaps[b], m_size, y);
    }
    m_candidates.clear();
    m_firstHalfCandidates.clear();
    m_secondHalfCandidates.clear();
    const auto& orientations = m_prepared.Orientations();
    for (std::size_t o = 0; o < orientations.size(); ++o) {
        const CPreparedPattern::SOrientation& orientation = orientations[o];
        const int top = orientation.firstRow;
        const int rows = orientation.lastRow - top + 1;
        if (rows <= 0)
            continue;
        const auto bitmap = [&](EBitmap b) { return m_rows.data() + static_cast<std::size_t>(b * m_size + top); };
        // Its stones were there at some time...
        // Only the first rows of these are used: not cleared, not copied.
        std::array<std::uint64_t, 64> ever;
        std::array<std::uint64_t, 64> first;
        std::array<std::uint64_t, 64> second;
        if (!AndShifted<false>(orientation.anchors.data() + top, ever.data(), rows, bitmap(kEverBlack),
                               orientation.black) ||
            !AndShifted<false>(ever.data(), ever.data(), rows, bitmap(kEverWhite), orientation.white))
            continue;
        // ... in the first half, or else its empty points were not filled
        // all through the second.
        if (AndShifted<false>(ever.data(), first.data(), rows, bitmap(kFirstBlack), orientation.black))
            AndShifted<false>(first.data(), first.data(), rows, bitmap(kFirstWhite), orientation.white);
        if (game.hasSecondHalf) {
            AndShifted<true>(ever.data(), second.data(), rows, bitmap(kFilled), orientation.empty);
        } else {
            for (int r = 0; r < rows; ++r)
                second[static_cast<std::size_t>(r)] = 0;
        }
        for (int r = 0; r < rows; ++r) {
            const std::uint64_t inFirst = first[static_cast<std::size_t>(r)];
            const std::uint64_t inSecond = second[static_cast<std::size_t>(r)];
            if (inFirst | inSecond)
                m_candidates.push_back({inFirst | inSecond, static_cast<int>(o), top + r});
            if (inFirst)
                m_firstHalfCandidates.push_back({inFirst, static_cast<int>(o), top + r});
            if (inSecond)
                m_secondHalfCandidates.push_back({inSecond, static_cast<int>(o), top + r});
        }
    }
    return !m_candidates.empty();
}

const std::vector<CGameMatcher::SCandidateRow>&
CGameMatcher::CandidatesFor(const SIndexedGame& game, std::uint32_t first, std::uint32_t length) const
{
    if (first + length - 1 <= game.half)
        return m_firstHalfCandidates;
    if (first > game.half)
        return m_secondHalfCandidates;
    return m_candidates;
}

std::size_t CGameMatcher::ScanStretch(const SIndexedGame& game, std::size_t begin, std::uint32_t first,
                                      std::uint32_t length)
{
    const auto rows = [&](int b) { return m_stretch.data() + static_cast<std::size_t>(b * m_size); };
    std::uint64_t* someBlack = rows(CPreparedPattern::kBlack);
    std::uint64_t* someWhite = rows(CPreparedPattern::kWhite);
    std::uint64_t* someEmpty = rows(CPreparedPattern::kEmpty);
    static_assert(static_cast<int>(kNowWhite) == static_cast<int>(kNowBlack) + CPreparedPattern::kWhite,
                  "a stone's now row by its colour");
    std::uint64_t* nowBlack = rows(kNowBlack);
    std::uint64_t* nowWhite = rows(kNowWhite);
    // The board before the stretch is among its positions but for the
    // first stretch, where it is the empty board before the root's setup:
    // a little more than the stretch's positions, never less.
    const std::uint64_t all = Columns(0, m_size - 1);
    for (int y = 0; y < m_size; ++y) {
        someBlack[y] = nowBlack[y];
        someWhite[y] = nowWhite[y];
        someEmpty[y] = all & ~(nowBlack[y] | nowWhite[y]);
    }
    // The stretch bitmap each op adds its point to; kAny for none.
    constexpr std::uint8_t kLeaves[kPositionOpCount] = {
        CPreparedPattern::kBlack, CPreparedPattern::kWhite, CPreparedPattern::kAny,  CPreparedPattern::kEmpty,
        CPreparedPattern::kEmpty, CPreparedPattern::kBlack, CPreparedPattern::kWhite};
    std::uint32_t position = first == 0 ? 0 : first - 1;
    for (std::size_t i = begin; i < game.unitCount; ++i) {
        const std::uint16_t unit = game.Unit(i);
        if (UnitIsMove(unit) && ++position == first + length)
            return i;
        const std::uint8_t leaves = kLeaves[static_cast<std::size_t>(UnitOp(unit))];
        if (leaves == CPreparedPattern::kAny)
            continue;
        // A table, not a division, for the point's row and column.
        const auto point = static_cast<std::size_t>(UnitPoint(unit));
        const std::size_t y = m_rowOf[point];
        const std::uint64_t bit = m_bitOf[point];
        nowBlack[y] &= ~bit;
        nowWhite[y] &= ~bit;
        m_stretch[leaves * static_cast<std::size_t>(m_size) + y] |= bit;
        if (leaves != CPreparedPattern::kEmpty)
            m_stretch[(kNowBlack + leaves) * static_cast<std::size_t>(m_size) + y] |= bit;
    }
    return game.unitCount;
}

bool CGameMatcher::NarrowToStretch(const std::vector<SCandidateRow>& from, std::vector<SCandidateRow>& to)
{
    const auto rows = [&](int b) { return m_stretch.data() + static_cast<std::size_t>(b * m_size); };
    const std::uint64_t* someBlack = rows(CPreparedPattern::kBlack);
    const std::uint64_t* someWhite = rows(CPreparedPattern::kWhite);
    const std::uint64_t* someEmpty = rows(CPreparedPattern::kEmpty);
    std::uint64_t* blackOrEmpty = rows(CPreparedPattern::kBlackOrEmpty);
    std::uint64_t* whiteOrEmpty = rows(CPreparedPattern::kWhiteOrEmpty);
    for (int y = 0; m_orEmptySigns && y < m_size; ++y) {
        blackOrEmpty[y] = someBlack[y] | someEmpty[y];
        whiteOrEmpty[y] = someWhite[y] | someEmpty[y];
    }
    const auto& orientations = m_prepared.Orientations();
    to.clear();
    for (const SCandidateRow& candidate : from) {
        const int y = candidate.row;
        std::uint64_t anchors = candidate.anchors;
        for (const auto& [at, sign] : orientations[static_cast<std::size_t>(candidate.orientation)].checks) {
            anchors &= m_stretch[static_cast<std::size_t>(sign * m_size + y + at.y)] >> at.x;
            if (!anchors)
                break;
        }
        if (anchors)
            to.push_back({anchors, candidate.orientation, y});
    }
    return !to.empty();
}

void CGameMatcher::MakePossible(const std::vector<SCandidateRow>& rows)
{
    for (const SCandidateRow& row : m_possibleRows)
        m_possible[static_cast<std::size_t>(row.orientation * m_size + row.row)] = 0;
    m_possibleRows = rows;
    std::fill(m_possibleCover.begin(), m_possibleCover.end(), 0);
    m_possibleOrientations = 0;
    const auto& orientations = m_prepared.Orientations();
    for (const SCandidateRow& row : rows) {
        const CPreparedPattern::SOrientation& orientation = orientations[static_cast<std::size_t>(row.orientation)];
        m_possible[static_cast<std::size_t>(row.orientation * m_size + row.row)] = row.anchors;
        m_possibleOrientations |= 1u << row.orientation;
        std::uint64_t columns = 0;
        for (int x = 0; x < orientation.width; ++x)
            columns |= row.anchors << x;
        for (int r = row.row; r < row.row + orientation.height; ++r)
            m_possibleCover[static_cast<std::size_t>(r)] |= columns;
    }
}

void CGameMatcher::StartCounting()
{
    if (++m_game == 0) {
        std::fill(m_counts.begin(), m_counts.end(), SCount{});
        m_game = 1;
    }
    std::fill(m_completeCover.begin(), m_completeCover.end(), 0);
    m_complete.clear();
    m_toCheck.clear();
    const auto& orientations = m_prepared.Orientations();
    for (std::uint32_t mask = m_possibleOrientations; mask; mask &= mask - 1) {
        const auto o = static_cast<std::size_t>(__builtin_ctz(mask));
        const CPreparedPattern::SOrientation& orientation = orientations[o];
        const std::uint64_t* possible = m_possible.data() + o * static_cast<std::size_t>(m_size);
        for (int ay = orientation.firstRow; ay <= orientation.lastRow; ++ay) {
            for (std::uint64_t anchors = possible[ay]; anchors; anchors &= anchors - 1) {
                const int ax = __builtin_ctzll(anchors);
                const int placement = orientation.placementAt[static_cast<std::size_t>(ay * m_size + ax)];
                std::int32_t misses = 0;
                for (const SGridPoint& at : orientation.black)
                    misses += m_board[static_cast<std::size_t>((ay + at.y) * m_size + ax + at.x)] != EStone::Black;
                for (const SGridPoint& at : orientation.white)
                    misses += m_board[static_cast<std::size_t>((ay + at.y) * m_size + ax + at.x)] != EStone::White;
                Count(placement).misses = misses;
                if (misses == 0) {
                    AddComplete(placement);
                    m_toCheck.push_back(placement);
                }
            }
        }
    }
}

CGameMatcher::SCount& CGameMatcher::Count(int placement)
{
    SCount& count = m_counts[static_cast<std::size_t>(placement)];
    if (count.game != m_game)
        count = {m_game, m_prepared.StoneCount(), false};
    return count;
}

template <typename F> void CGameMatcher::ForPlacementsCovering(int point, F f) const
{
    const int x = point % m_size;
    const int y = point / m_size;
    if (!((m_possibleCover[static_cast<std::size_t>(y)] >> x) & 1))
        return;
    const auto& orientations = m_prepared.Orientations();
    for (std::uint32_t mask = m_prepared.OrientationsCovering(point) & m_possibleOrientations; mask; mask &= mask - 1) {
        const auto o = static_cast<std::size_t>(__builtin_ctz(mask));
        const CPreparedPattern::SOrientation& orientation = orientations[o];
        const std::uint64_t* possible = m_possible.data() + o * static_cast<std::size_t>(m_size);
        const std::uint64_t columns = Columns(x - orientation.width + 1, x);
        const int lastRow = std::min(orientation.lastRow, y);
        for (int ay = std::max(orientation.firstRow, y - orientation.height + 1); ay <= lastRow; ++ay) {
            for (std::uint64_t anchors = possible[ay] & columns; anchors; anchors &= anchors - 1)
                f(orientation.placementAt[static_cast<std::size_t>(ay * m_size + __builtin_ctzll(anchors))]);
        }
    }
}

void CGameMatcher::CountStones(int point, EStone colour, int delta)
{
    const int x = point % m_size;
    const int y = point / m_size;
    const auto& orientations = m_prepared.Orientations();
    for (std::uint32_t mask = m_prepared.OrientationsCovering(point) & m_possibleOrientations; mask; mask &= mask - 1) {
        const auto o = static_cast<std::size_t>(__builtin_ctz(mask));
        const CPreparedPattern::SOrientation& orientation = orientations[o];
        const std::uint64_t* possible = m_possible.data() + o * static_cast<std::size_t>(m_size);
        for (const SGridPoint& at : colour == EStone::Black ? orientation.black : orientation.white) {
            const int ax = x - at.x;
            const int ay = y - at.y;
            if (ax < 0 || ay < orientation.firstRow || ay > orientation.lastRow || !((possible[ay] >> ax) & 1))
                continue;
            const int placement = orientation.placementAt[static_cast<std::size_t>(ay * m_size + ax)];
            SCount& count = Count(placement);
            count.misses += delta;
            if (count.misses == 0) {
                m_toCheck.push_back(placement);
                if (!count.complete)
                    AddComplete(placement);
            }
        }
    }
}

void CGameMatcher::Change(int point, EStone to)
{
    EStone& cell = m_board[static_cast<std::size_t>(point)];
    const EStone from = cell;
    if (from == to)
        return;
    cell = to;
    const int x = point % m_size;
    const int y = point / m_size;
    if (!((m_possibleCover[static_cast<std::size_t>(y)] >> x) & 1))
        return;
    if (from != EStone::Empty)
        CountStones(point, from, +1);
    if (to != EStone::Empty)
        CountStones(point, to, -1);
    if (!((m_completeCover[static_cast<std::size_t>(y)] >> x) & 1))
        return;
    const auto& placements = m_prepared.Placements();
    for (const int placement : m_complete) {
        if (placements[static_cast<std::size_t>(placement)].Contains(x, y))
            m_toCheck.push_back(placement);
    }
}

void CGameMatcher::AddComplete(int placement)
{
    Count(placement).complete = true;
    m_complete.push_back(placement);
    const SPlacement& p = m_prepared.Placements()[static_cast<std::size_t>(placement)];
    const std::uint64_t columns = Columns(p.left, p.left + p.width - 1);
    for (int row = p.top; row < p.top + p.height; ++row)
        m_completeCover[static_cast<std::size_t>(row)] |= columns;
}

bool CGameMatcher::OpenPointsMet(int placement) const
{
    const SPlacement& p = m_prepared.Placements()[static_cast<std::size_t>(placement)];
    const auto o = static_cast<std::size_t>(m_prepared.OrientationOf(placement));
    const int origin = p.top * m_size + p.left;
    for (const auto& [offset, sign] : m_prepared.Orientations()[o].open) {
        if (Misses(sign, m_board[static_cast<std::size_t>(origin + offset)]))
            return false;
    }
    return true;
}

bool CGameMatcher::AnyStands()
{
    bool any = false;
    for (const int placement : m_toCheck) {
        if (!any && Count(placement).misses == 0 && OpenPointsMet(placement))
            any = true;
    }
    m_toCheck.clear();
    // Those that miss a stone again wait until they miss none.
    std::size_t kept = 0;
    bool dropped = false;
    for (const int placement : m_complete) {
        SCount& count = Count(placement);
        if (count.misses == 0) {
            m_complete[kept++] = placement;
        } else {
            count.complete = false;
            dropped = true;
        }
    }
    m_complete.resize(kept);
    if (dropped) {
        std::fill(m_completeCover.begin(), m_completeCover.end(), 0);
        for (const int placement : m_complete) {
            const SPlacement& p = m_prepared.Placements()[static_cast<std::size_t>(placement)];
            const std::uint64_t columns = Columns(p.left, p.left + p.width - 1);
            for (int row = p.top; row < p.top + p.height; ++row)
                m_completeCover[static_cast<std::size_t>(row)] |= columns;
        }
    }
    return any;
}

std::optional<SPatternMove> CGameMatcher::Continuation(const SIndexedGame& game, std::size_t fromUnit)
{
    const SPattern& pattern = m_prepared.Pattern();
    const auto& placements = m_prepared.Placements();
    for (std::size_t i = fromUnit; i < game.unitCount; ++i) {
        const std::uint16_t unit = game.Unit(i);
        const EPositionOp op = UnitOp(unit);
        if (op != EPositionOp::BlackMove && op != EPositionOp::WhiteMove)
            continue;
        const int point = UnitPoint(unit);
        const int x = point % m_size;
        const int y = point / m_size;
        const EStone colour = op == EPositionOp::BlackMove ? EStone::Black : EStone::White;
        std::optional<SPatternMove> best;
        // The board still holds the first hit's position.
        ForPlacementsCovering(point, [&](int placement) {
            if (Count(placement).misses != 0 || !OpenPointsMet(placement))
                return;
            const SPatternMove move = CanonicalPatternMove(
                pattern, m_prepared.SelfSymmetries(),
                MoveThroughPlacement(pattern, placements[static_cast<std::size_t>(placement)], x, y, colour));
            if (!best || PatternMoveBefore(move, *best))
                best = move;
        });
        if (best)
            return best;
    }
    return std::nullopt;
}

std::optional<CGameMatcher::SOutcome> CGameMatcher::CountStretch(const SIndexedGame& game, std::size_t begin,
                                                                 std::size_t end, std::uint32_t position)
{
    StartCounting();
    for (std::size_t i = begin; i < end; ++i) {
        const std::uint16_t unit = game.Unit(i);
        const int point = UnitPoint(unit);
        switch (UnitOp(unit)) {
        case EPositionOp::BlackMove:
        case EPositionOp::WhiteMove:
        case EPositionOp::OtherMove:
            if (!m_toCheck.empty() && AnyStands())
                return SOutcome{position, Continuation(game, i)};
            ++position;
            if (UnitOp(unit) != EPositionOp::OtherMove)
                Change(point, UnitOp(unit) == EPositionOp::BlackMove ? EStone::Black : EStone::White);
            break;
        case EPositionOp::Capture:
        case EPositionOp::SetupEmpty:
            Change(point, EStone::Empty);
            break;
        case EPositionOp::SetupBlack:
            Change(point, EStone::Black);
            break;
        case EPositionOp::SetupWhite:
            Change(point, EStone::White);
            break;
        }
    }
    // The stretch's last position.
    if (!m_toCheck.empty() && AnyStands())
        return SOutcome{position, Continuation(game, end)};
    return std::nullopt;
}

std::optional<CGameMatcher::SOutcome> CGameMatcher::Match(const SIndexedGame& game)
{
    if (game.width != m_size || game.height != m_size || !FindCandidates(game))
        return std::nullopt;
    std::fill(m_stretch.begin(), m_stretch.end(), 0);
    std::size_t begin = 0;
    for (std::uint32_t first = 0;; first += kLongStretch) {
        SaveBoard();
        const std::size_t end = ScanStretch(game, begin, first, kLongStretch);
        if (NarrowToStretch(CandidatesFor(game, first, kLongStretch), m_longCandidates)) {
            RestoreBoard();
            if (std::optional<SOutcome> outcome = MatchShortStretches(game, begin, end, first))
                return outcome;
        }
        if (end >= game.unitCount)
            return std::nullopt;
        begin = end;
    }
}

std::optional<CGameMatcher::SOutcome> CGameMatcher::MatchShortStretches(const SIndexedGame& game, std::size_t begin,
                                                                        std::size_t end, std::uint32_t first)
{
    for (;; first += kStretch) {
        SaveBoard();
        const std::size_t shortEnd = ScanStretch(game, begin, first, kStretch);
        if (NarrowToStretch(m_longCandidates, m_shortCandidates)) {
            // Played again, with the counts, from the board before it.
            RestoreBoard();
            BoardFromRows();
            MakePossible(m_shortCandidates);
            if (std::optional<SOutcome> outcome = CountStretch(game, begin, shortEnd, first == 0 ? 0 : first - 1))
                return outcome;
            // The counts played the units onto the board, not onto its rows.
            ScanStretch(game, begin, first, kStretch);
        }
        if (shortEnd >= end)
            return std::nullopt;
        begin = shortEnd;
    }
}

void CGameMatcher::BoardFromRows()
{
    const std::uint64_t* black = m_stretch.data() + kNowBlack * m_size;
    const std::uint64_t* white = m_stretch.data() + kNowWhite * m_size;
    for (int y = 0; y < m_size; ++y) {
        for (int x = 0; x < m_size; ++x) {
            const bool isBlack = (black[y] >> x) & 1;
            const bool isWhite = (white[y] >> x) & 1;
            m_board[static_cast<std::size_t>(y * m_size + x)] = isBlack   ? EStone::Black
                                                                : isWhite ? EStone::White
                                                                          : EStone::Empty;
        }
    }
}

void CGameMatcher::SaveBoard()
{
    const auto now = m_stretch.begin() + kNowBlack * m_size;
    std::copy(now, now + 2 * m_size, m_nowBefore.begin());
}

void CGameMatcher::RestoreBoard()
{
    std::copy(m_nowBefore.begin(), m_nowBefore.end(), m_stretch.begin() + kNowBlack * m_size);
}
