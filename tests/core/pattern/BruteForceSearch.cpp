#include "BruteForceSearch.h"

#include "game/GameTimeline.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace {

struct SPoint
{
    int x;
    int y;
};

// The 8 symmetries of a board of size n, written out one by one.
SPoint BoardSymmetry(int s, int n, SPoint p)
{
    const int m = n - 1;
    switch (s) {
    case 0:
        return {p.x, p.y};
    case 1:
        return {m - p.x, p.y};
    case 2:
        return {p.x, m - p.y};
    case 3:
        return {m - p.x, m - p.y};
    case 4:
        return {p.y, p.x};
    case 5:
        return {m - p.y, p.x};
    case 6:
        return {p.y, m - p.x};
    default:
        return {m - p.y, m - p.x};
    }
}

// The pattern as it stands on the board: where each of its drawn points
// lands, and whether colours are exchanged.
struct SStanding
{
    int symmetry;
    int dx;
    int dy;
    bool exchanged;
};

struct SRect
{
    int left, top, right, bottom;
};

SRect ImageOfRect(const SPattern& p, int s)
{
    const SPoint a = BoardSymmetry(s, p.boardSize, {p.left, p.top});
    const SPoint b = BoardSymmetry(s, p.boardSize, {p.left + p.width - 1, p.top + p.height - 1});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Shifts along one axis: none where the rectangle touches an edge, else
// every one that keeps it off both edges.
std::vector<int> AllowedShifts(int low, int high, int n)
{
    if (low == 0 || high == n - 1)
        return {0};
    std::vector<int> shifts;
    for (int d = -n; d <= n; ++d) {
        if (low + d > 0 && high + d < n - 1)
            shifts.push_back(d);
    }
    return shifts;
}

std::vector<SStanding> AllStandings(const SPattern& p)
{
    std::vector<SStanding> all;
    for (int e = 0; e < (p.fixedColours ? 1 : 2); ++e) {
        for (int s = 0; s < 8; ++s) {
            const SRect r = ImageOfRect(p, s);
            for (const int dy : AllowedShifts(r.top, r.bottom, p.boardSize)) {
                for (const int dx : AllowedShifts(r.left, r.right, p.boardSize))
                    all.push_back({s, dx, dy, e == 1});
            }
        }
    }
    return all;
}

SPoint OnBoard(const SPattern& p, const SStanding& st, int px, int py)
{
    const SPoint q = BoardSymmetry(st.symmetry, p.boardSize, {px, py});
    return {q.x + st.dx, q.y + st.dy};
}

bool Accepts(char sign, EStone stone)
{
    if (sign == '*')
        return true;
    if (sign == 'X')
        return stone == EStone::Black;
    if (sign == 'O')
        return stone == EStone::White;
    if (sign == '.')
        return stone == EStone::Empty;
    if (sign == 'x')
        return stone == EStone::Black || stone == EStone::Empty;
    return stone == EStone::White || stone == EStone::Empty;
}

EStone Exchange(EStone s)
{
    return s == EStone::Black ? EStone::White : s == EStone::White ? EStone::Black : EStone::Empty;
}

// The points the standing covers and the sign each needs, stones first.
std::vector<std::pair<int, char>> Needs(const SPattern& p, const SStanding& st)
{
    std::vector<std::pair<int, char>> needs;
    for (int py = p.top; py < p.top + p.height; ++py) {
        for (int px = p.left; px < p.left + p.width; ++px) {
            const SPoint q = OnBoard(p, st, px, py);
            char sign = p.SignAt(px - p.left, py - p.top);
            if (st.exchanged)
                sign = sign == 'X' ? 'O' : sign == 'O' ? 'X' : sign == 'x' ? 'o' : sign == 'o' ? 'x' : sign;
            needs.emplace_back(q.y * p.boardSize + q.x, sign);
        }
    }
    std::stable_partition(needs.begin(), needs.end(), [](const auto& n) { return n.second == 'X' || n.second == 'O'; });
    return needs;
}

bool StandsAt(const std::vector<std::pair<int, char>>& needs, const std::vector<EStone>& board)
{
    for (const auto& [point, sign] : needs) {
        if (!Accepts(sign, board[static_cast<std::size_t>(point)]))
            return false;
    }
    return true;
}

// The drawn point that lands on q, if the standing covers q.
std::optional<SPoint> DrawnPointAt(const SPattern& p, const SStanding& st, SPoint q)
{
    for (int py = p.top; py < p.top + p.height; ++py) {
        for (int px = p.left; px < p.left + p.width; ++px) {
            const SPoint at = OnBoard(p, st, px, py);
            if (at.x == q.x && at.y == q.y)
                return SPoint{px, py};
        }
    }
    return std::nullopt;
}

// The pattern's own symmetries: a board symmetry followed by the shift
// that brings the rectangle back onto itself, with colours exchanged or
// not, under which every sign is the same.
std::vector<SStanding> OwnSymmetries(const SPattern& p)
{
    std::vector<SStanding> own;
    for (int e = 0; e < (p.fixedColours ? 1 : 2); ++e) {
        for (int s = 0; s < 8; ++s) {
            const SRect r = ImageOfRect(p, s);
            if (r.right - r.left + 1 != p.width || r.bottom - r.top + 1 != p.height)
                continue;
            const SStanding st{s, p.left - r.left, p.top - r.top, e == 1};
            bool same = true;
            for (int py = p.top; py < p.top + p.height && same; ++py) {
                for (int px = p.left; px < p.left + p.width && same; ++px) {
                    const SPoint q = OnBoard(p, st, px, py);
                    char sign = p.SignAt(px - p.left, py - p.top);
                    if (st.exchanged)
                        sign = sign == 'X' ? 'O' : sign == 'O' ? 'X' : sign == 'x' ? 'o' : sign == 'o' ? 'x' : sign;
                    same = p.SignAt(q.x - p.left, q.y - p.top) == sign;
                }
            }
            if (same)
                own.push_back(st);
        }
    }
    return own;
}

auto MoveKey(const SPatternMove& m)
{
    return std::make_tuple(SgfPointName(m.x, m.y), m.colour == EStone::Black ? 0 : 1, m.exchanged ? 1 : 0);
}

} // namespace

SReferenceGame PlayReferenceGame(const SGameRecord& record, EStone winner)
{
    SReferenceGame game;
    game.size = record.width == record.height ? record.width : 0;
    game.winner = winner;
    const CGameTimeline timeline(record);
    for (int k = 0; k <= timeline.PlayedCount(); ++k) {
        const SGamePosition position = timeline.At(k);
        game.boards.push_back(position.board.Cells());
        const bool regular = k > 0 && !position.lastMoveIrregular && position.lastMove->kind == SGameMove::EKind::Play;
        game.regularMoves.push_back(regular ? position.lastMove : std::nullopt);
    }
    game.everBlack.assign(game.boards[0].size(), false);
    game.everWhite.assign(game.boards[0].size(), false);
    for (const std::vector<EStone>& board : game.boards) {
        for (std::size_t i = 0; i < board.size(); ++i) {
            game.everBlack[i] = game.everBlack[i] || board[i] == EStone::Black;
            game.everWhite[i] = game.everWhite[i] || board[i] == EStone::White;
        }
    }
    return game;
}

SPatternResult BruteForceSearch(const std::vector<SReferenceGame>& games, const SPattern& p)
{
    const std::vector<SStanding> standings = AllStandings(p);
    std::vector<std::vector<std::pair<int, char>>> needs;
    for (const SStanding& st : standings)
        needs.push_back(Needs(p, st));
    const std::vector<SStanding> own = OwnSymmetries(p);
    SPatternResult result;
    for (std::size_t g = 0; g < games.size(); ++g) {
        const SReferenceGame& game = games[g];
        if (game.size != p.boardSize)
            continue;
        // Only standings whose stones were all on the board at some time
        // can stand at some position: the others are not tried.
        std::vector<std::size_t> possible;
        for (std::size_t s = 0; s < standings.size(); ++s) {
            bool can = true;
            for (const auto& [point, sign] : needs[s]) {
                if ((sign == 'X' && !game.everBlack[static_cast<std::size_t>(point)]) ||
                    (sign == 'O' && !game.everWhite[static_cast<std::size_t>(point)]))
                    can = false;
            }
            if (can)
                possible.push_back(s);
        }
        std::optional<std::size_t> firstHit;
        std::vector<SStanding> matched;
        for (std::size_t k = 0; k < game.boards.size() && !firstHit; ++k) {
            for (const std::size_t s : possible) {
                if (StandsAt(needs[s], game.boards[k]))
                    matched.push_back(standings[s]);
            }
            if (!matched.empty())
                firstHit = k;
        }
        if (!firstHit)
            continue;
        SPatternHit hit;
        hit.game = static_cast<std::uint32_t>(g);
        hit.firstHit = static_cast<std::uint32_t>(*firstHit);
        for (std::size_t k = *firstHit + 1; k < game.boards.size() && !hit.continuation; ++k) {
            if (!game.regularMoves[k])
                continue;
            const SGameMove& played = *game.regularMoves[k];
            const SPoint q{played.x, played.y};
            for (const SStanding& st : matched) {
                const std::optional<SPoint> drawn = DrawnPointAt(p, st, q);
                if (!drawn)
                    continue;
                const EStone colour = st.exchanged ? Exchange(played.colour) : played.colour;
                // The first of the moves the pattern's own symmetries make
                // of this one.
                for (const SStanding& o : own) {
                    const SPoint image = OnBoard(p, o, drawn->x, drawn->y);
                    const SPatternMove move{image.x, image.y, o.exchanged ? Exchange(colour) : colour,
                                            st.exchanged != o.exchanged};
                    if (!hit.continuation || MoveKey(move) < MoveKey(*hit.continuation))
                        hit.continuation = move;
                }
            }
        }
        result.hits.push_back(hit);
    }
    // The table, counted here again.
    std::map<std::tuple<std::string, int>, SContinuationStats> table;
    for (const SPatternHit& hit : result.hits) {
        if (!hit.continuation)
            continue;
        const SPatternMove& m = *hit.continuation;
        SContinuationStats& row = table[{SgfPointName(m.x, m.y), m.colour == EStone::Black ? 0 : 1}];
        row.x = m.x;
        row.y = m.y;
        row.colour = m.colour;
        ++row.games;
        const EStone winner = m.exchanged ? Exchange(games[hit.game].winner) : games[hit.game].winner;
        row.blackWins += winner == EStone::Black ? 1 : 0;
        row.whiteWins += winner == EStone::White ? 1 : 0;
    }
    for (const auto& [key, row] : table)
        result.continuations.push_back(row);
    std::stable_sort(result.continuations.begin(), result.continuations.end(),
                     [](const SContinuationStats& a, const SContinuationStats& b) { return a.games > b.games; });
    return result;
}
