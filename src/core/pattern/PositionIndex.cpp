#include "pattern/PositionIndex.h"

namespace {

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
    const std::size_t start = m_bytes.size();
    const std::size_t bitmap = BitmapBytes(row.width, row.height);
    m_bytes.resize(start + 2 + 2 * bitmap + 2 * row.units.size(), 0);
    std::uint8_t* out = m_bytes.data() + start;
    out[0] = static_cast<std::uint8_t>(row.width);
    out[1] = static_cast<std::uint8_t>(row.height);
    std::uint8_t* black = out + 2;
    std::uint8_t* white = black + bitmap;
    std::uint8_t* units = white + bitmap;
    for (const std::uint16_t unit : row.units) {
        const int point = UnitPoint(unit);
        const EPositionOp op = UnitOp(unit);
        if (op == EPositionOp::BlackMove || op == EPositionOp::SetupBlack)
            black[point / 8] |= static_cast<std::uint8_t>(1u << (point % 8));
        else if (op == EPositionOp::WhiteMove || op == EPositionOp::SetupWhite)
            white[point / 8] |= static_cast<std::uint8_t>(1u << (point % 8));
        *units++ = static_cast<std::uint8_t>(unit & 0xff);
        *units++ = static_cast<std::uint8_t>(unit >> 8);
    }
    m_starts.push_back(start);
    m_winners.push_back(static_cast<std::uint8_t>(winner));
    return static_cast<std::uint32_t>(m_starts.size() - 1);
}

SIndexedGame CPositionIndex::Game(std::uint32_t game) const
{
    const std::size_t start = m_starts[game];
    const std::size_t end = game + 1 < m_starts.size() ? m_starts[game + 1] : m_bytes.size();
    const std::uint8_t* at = m_bytes.data() + start;
    SIndexedGame view;
    view.width = at[0];
    view.height = at[1];
    const std::size_t bitmap = BitmapBytes(view.width, view.height);
    view.everBlack = at + 2;
    view.everWhite = at + 2 + bitmap;
    view.units = at + 2 + 2 * bitmap;
    view.unitCount = (end - start - 2 - 2 * bitmap) / 2;
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
