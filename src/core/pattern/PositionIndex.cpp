#include "pattern/PositionIndex.h"

namespace {

// A game's width, height, whether it has a second half, the last position
// of its first half (4 bytes).
constexpr std::size_t kHeaderBytes = 7;

std::size_t BitmapBytes(int width, int height)
{
    return (static_cast<std::size_t>(width * height) + 7) / 8;
}

} // namespace

std::optional<std::uint32_t> CPositionIndex::AddRow(std::string_view row, EStone winner)
{
    const std::optional<SPositionRow> parsed = ParsePositionRow(row);
    if (!parsed)
        return std::nullopt;
    return Add(*parsed, winner);
}

std::uint32_t CPositionIndex::AddGame(const SGameRecord& record, EStone winner)
{
    return Add(PlayPositionRow(record), winner);
}

std::uint32_t CPositionIndex::Add(const SPositionRow& row, EStone winner)
{
    constexpr std::size_t kBitmaps = 5;
    const std::size_t start = m_bytes.empty() ? 0 : m_bytes.size() - SIndexedGame::kReadAhead;
    const std::size_t bitmap = BitmapBytes(row.width, row.height);
    m_bytes.resize(start + kHeaderBytes + kBitmaps * bitmap + 2 * row.units.size() + SIndexedGame::kReadAhead, 0);
    std::uint8_t* out = m_bytes.data() + start;
    out[0] = static_cast<std::uint8_t>(row.width);
    out[1] = static_cast<std::uint8_t>(row.height);
    std::uint8_t* black = out + kHeaderBytes;
    std::uint8_t* white = black + bitmap;
    std::uint8_t* firstBlack = white + bitmap;
    std::uint8_t* firstWhite = firstBlack + bitmap;
    std::uint8_t* filled = firstWhite + bitmap;
    std::uint8_t* units = filled + bitmap;
    const auto set = [](std::uint8_t* bits, int point) {
        bits[point / 8] |= static_cast<std::uint8_t>(1u << (point % 8));
    };
    std::uint32_t positions = 0;
    for (const std::uint16_t unit : row.units)
        positions += UnitIsMove(unit) ? 1 : 0;
    const std::uint32_t half = positions / 2;
    // The position from which each point has held a stone without a break.
    const auto area = static_cast<std::size_t>(row.width * row.height);
    m_filledSince.assign(area, 0);
    m_occupied.assign(area, false);
    std::uint32_t position = 0;
    for (const std::uint16_t unit : row.units) {
        const int point = UnitPoint(unit);
        const EPositionOp op = UnitOp(unit);
        if (UnitIsMove(unit))
            ++position;
        const bool stone = op == EPositionOp::BlackMove || op == EPositionOp::WhiteMove ||
                           op == EPositionOp::SetupBlack || op == EPositionOp::SetupWhite;
        if (op != EPositionOp::OtherMove) {
            const auto p = static_cast<std::size_t>(point);
            if (stone && !m_occupied[p])
                m_filledSince[p] = position;
            m_occupied[p] = stone;
        }
        const bool isBlack = op == EPositionOp::BlackMove || op == EPositionOp::SetupBlack;
        const bool isWhite = op == EPositionOp::WhiteMove || op == EPositionOp::SetupWhite;
        if (isBlack || isWhite) {
            set(isBlack ? black : white, point);
            if (position <= half)
                set(isBlack ? firstBlack : firstWhite, point);
        }
        *units++ = static_cast<std::uint8_t>(unit & 0xff);
        *units++ = static_cast<std::uint8_t>(unit >> 8);
    }
    for (std::size_t p = 0; p < area; ++p) {
        if (m_occupied[p] && m_filledSince[p] <= half + 1)
            set(filled, static_cast<int>(p));
    }
    out[2] = positions > half ? 1 : 0;
    for (int i = 0; i < 4; ++i)
        out[3 + i] = static_cast<std::uint8_t>(half >> (8 * i));
    m_starts.push_back(start);
    m_winners.push_back(static_cast<std::uint8_t>(winner));
    return static_cast<std::uint32_t>(m_starts.size() - 1);
}

SIndexedGame CPositionIndex::Game(std::uint32_t game) const
{
    const std::size_t start = m_starts[game];
    const std::size_t end = game + 1 < m_starts.size() ? m_starts[game + 1] : m_bytes.size() - SIndexedGame::kReadAhead;
    const std::uint8_t* at = m_bytes.data() + start;
    SIndexedGame view;
    view.width = at[0];
    view.height = at[1];
    view.hasSecondHalf = at[2] != 0;
    for (int i = 0; i < 4; ++i)
        view.half |= static_cast<std::uint32_t>(at[3 + i]) << (8 * i);
    const std::size_t bitmap = BitmapBytes(view.width, view.height);
    view.everBlack = at + kHeaderBytes;
    view.everWhite = view.everBlack + bitmap;
    view.firstHalfBlack = view.everWhite + bitmap;
    view.firstHalfWhite = view.firstHalfBlack + bitmap;
    view.filledInSecondHalf = view.firstHalfWhite + bitmap;
    view.units = view.filledInSecondHalf + bitmap;
    view.unitCount = (end - start - kHeaderBytes - 5 * bitmap) / 2;
    return view;
}

std::size_t CPositionIndex::MemoryBytes() const
{
    return m_bytes.capacity() + m_starts.capacity() * sizeof(std::uint64_t) + m_winners.capacity();
}

void CPositionIndex::Reserve(std::size_t games, std::size_t bytes)
{
    m_starts.reserve(games);
    m_winners.reserve(games);
    m_bytes.reserve(bytes);
}
