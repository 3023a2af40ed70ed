#include "pattern/PositionRow.h"

#include "game/Board.h"
#include "util/Fnv1a.h"

namespace {

constexpr std::uint8_t kRowVersion = 1;
// The point that move searches stop playing after, as the preview stops: a
// record that needs more work than this keeps the board busy on purpose.
constexpr std::uint64_t kMaxPlayWork = 16'000'000;

std::uint32_t RowHash(std::string_view bytes)
{
    return static_cast<std::uint32_t>(Fnv1a(kFnv1aStart, bytes));
}

class CRowPlayer
{
public:
    CRowPlayer(const SGameRecord& record, SPositionRow& row)
        : m_record(record), m_row(row), m_board(record.width, record.height),
          m_shadow(static_cast<std::size_t>(record.width * record.height), EStone::Empty)
    {
    }

    void Play()
    {
        ApplySetup(0);
        const std::size_t count = m_record.moves.size();
        for (std::size_t i = 0; i < count && m_board.Work() <= kMaxPlayWork; ++i) {
            PlayMove(m_record.moves[i]);
            ApplySetup(static_cast<std::uint32_t>(i + 1));
        }
    }

private:
    int Point(int x, int y) const { return y * m_record.width + x; }

    void ApplySetup(std::uint32_t upTo)
    {
        const std::vector<SSetupRect>& setup = m_record.setup;
        for (; m_nextSetup < setup.size() && setup[m_nextSetup].beforeMove <= upTo; ++m_nextSetup) {
            const SSetupRect& rect = setup[m_nextSetup];
            for (int y = rect.top; y <= rect.bottom; ++y) {
                for (int x = rect.left; x <= rect.right; ++x) {
                    m_board.Put(x, y, rect.stone);
                    EStone& shadow = m_shadow[static_cast<std::size_t>(Point(x, y))];
                    if (shadow == rect.stone)
                        continue;
                    shadow = rect.stone;
                    const EPositionOp op = rect.stone == EStone::Black   ? EPositionOp::SetupBlack
                                           : rect.stone == EStone::White ? EPositionOp::SetupWhite
                                                                         : EPositionOp::SetupEmpty;
                    m_row.units.push_back(PositionUnit(op, Point(x, y)));
                }
            }
        }
    }

    void PlayMove(const SGameMove& move)
    {
        const int before = m_board.Captures(EStone::Black) + m_board.Captures(EStone::White);
        if (move.kind != SGameMove::EKind::Play || !m_board.Play(move.colour, move.x, move.y)) {
            m_row.units.push_back(PositionUnit(EPositionOp::OtherMove, 0));
            return;
        }
        const int point = Point(move.x, move.y);
        m_row.units.push_back(
            PositionUnit(move.colour == EStone::Black ? EPositionOp::BlackMove : EPositionOp::WhiteMove, point));
        m_shadow[static_cast<std::size_t>(point)] = move.colour;
        if (m_board.Captures(EStone::Black) + m_board.Captures(EStone::White) == before)
            return;
        // Something was taken (perhaps the stone itself): the points that
        // held a stone and hold none now, in board order.
        const std::vector<EStone>& cells = m_board.Cells();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (m_shadow[i] != EStone::Empty && cells[i] == EStone::Empty) {
                m_shadow[i] = EStone::Empty;
                m_row.units.push_back(PositionUnit(EPositionOp::Capture, static_cast<int>(i)));
            }
        }
    }

    const SGameRecord& m_record;
    SPositionRow& m_row;
    CBoard m_board;
    // The board as the units so far leave it.
    std::vector<EStone> m_shadow;
    std::size_t m_nextSetup = 0;
};

} // namespace

SPositionRow PlayPositionRow(const SGameRecord& record)
{
    SPositionRow row;
    row.width = record.width;
    row.height = record.height;
    CRowPlayer(record, row).Play();
    return row;
}

std::string EncodePositionRow(const SPositionRow& row)
{
    std::string bytes;
    bytes.reserve(row.units.size() * 2 + 12);
    bytes.push_back(static_cast<char>(kRowVersion));
    bytes.push_back(static_cast<char>(row.width));
    bytes.push_back(static_cast<char>(row.height));
    std::uint64_t count = row.units.size();
    do {
        const std::uint8_t low = count & 0x7f;
        count >>= 7;
        bytes.push_back(static_cast<char>(low | (count ? 0x80 : 0)));
    } while (count);
    for (const std::uint16_t unit : row.units) {
        bytes.push_back(static_cast<char>(unit & 0xff));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    const std::uint32_t hash = RowHash(bytes);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((hash >> (8 * i)) & 0xff));
    return bytes;
}

std::string BuildPositionRow(const SGameRecord& record)
{
    return EncodePositionRow(PlayPositionRow(record));
}

std::optional<SPositionRow> ParsePositionRow(std::string_view bytes)
{
    const auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    if (bytes.size() < 3 + 1 + 4 || byteAt(0) != kRowVersion)
        return std::nullopt;
    const std::size_t body = bytes.size() - 4;
    std::uint32_t stored = 0;
    for (int i = 0; i < 4; ++i)
        stored |= static_cast<std::uint32_t>(byteAt(body + static_cast<std::size_t>(i))) << (8 * i);
    if (stored != RowHash(bytes.substr(0, body)))
        return std::nullopt;
    SPositionRow row;
    row.width = byteAt(1);
    row.height = byteAt(2);
    if (row.width < 1 || row.height < 1 || row.width > SGameRecord::kMaxSize || row.height > SGameRecord::kMaxSize)
        return std::nullopt;
    std::size_t at = 3;
    std::uint64_t count = 0;
    for (int shift = 0;; shift += 7) {
        if (at >= body || shift > 28)
            return std::nullopt;
        const std::uint8_t b = byteAt(at++);
        // The count in the fewest bytes, as it is written: one form a row.
        if (b == 0 && shift > 0)
            return std::nullopt;
        count |= static_cast<std::uint64_t>(b & 0x7f) << shift;
        if (!(b & 0x80))
            break;
    }
    if (count != (body - at) / 2 || (body - at) % 2 != 0)
        return std::nullopt;
    // Replayed on a plain board: every unit must be one a game could give.
    const int area = row.width * row.height;
    std::vector<EStone> board(static_cast<std::size_t>(area), EStone::Empty);
    row.units.reserve(count);
    bool afterMoveStone = false;
    for (; at < body; at += 2) {
        const auto unit = static_cast<std::uint16_t>(byteAt(at) | (byteAt(at + 1) << 8));
        const int point = UnitPoint(unit);
        const int op = unit >> 12;
        if (op >= kPositionOpCount || point >= area)
            return std::nullopt;
        EStone& cell = board[static_cast<std::size_t>(point)];
        switch (static_cast<EPositionOp>(op)) {
        case EPositionOp::BlackMove:
        case EPositionOp::WhiteMove:
            if (cell != EStone::Empty)
                return std::nullopt;
            cell = op == 0 ? EStone::Black : EStone::White;
            afterMoveStone = true;
            break;
        case EPositionOp::OtherMove:
            if (point != 0)
                return std::nullopt;
            afterMoveStone = false;
            break;
        case EPositionOp::Capture:
            if (!afterMoveStone || cell == EStone::Empty)
                return std::nullopt;
            cell = EStone::Empty;
            break;
        default:
            const EStone stone = static_cast<EPositionOp>(op) == EPositionOp::SetupBlack   ? EStone::Black
                                 : static_cast<EPositionOp>(op) == EPositionOp::SetupWhite ? EStone::White
                                                                                           : EStone::Empty;
            if (cell == stone)
                return std::nullopt;
            cell = stone;
            afterMoveStone = false;
            break;
        }
        row.units.push_back(unit);
    }
    return row;
}
