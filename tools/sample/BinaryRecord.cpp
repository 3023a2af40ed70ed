#include "sample/BinaryRecord.h"

#include <algorithm>

namespace {
void AppendLE(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
} // namespace

void CBinaryRecord::AddString(std::uint16_t code, std::string_view value)
{
    AppendLE(m_records, code, 2);
    ShortString(value);
    ++m_count;
}

void CBinaryRecord::AddMove(bool black, int x, int y)
{
    AppendLE(m_records, black ? 1 : 2, 2);
    Point(x, y);
    ++m_count;
}

void CBinaryRecord::AddStones(std::uint16_t code, std::string_view points)
{
    // points holds coordinate pairs as letters, "dd" for 3-3 counted from a.
    AppendLE(m_records, code, 2);
    AppendLE(m_records, static_cast<std::uint32_t>(points.size() / 2), 2);
    for (std::size_t i = 0; i + 1 < points.size(); i += 2)
        Point(points[i] - 'a', points[i + 1] - 'a');
    ++m_count;
}

void CBinaryRecord::AddLabel(int x, int y, std::string_view text)
{
    AppendLE(m_records, 12, 2);
    AppendLE(m_records, 1, 2);
    Point(x, y);
    AppendLE(m_records, 1, 2);
    ShortString(text);
    ++m_count;
}

std::string CBinaryRecord::Bytes() const
{
    std::string out(1, '\x06');
    AppendLE(out, 1, 4); // the record holds contents
    out.append(12, '\0');
    AppendLE(out, static_cast<std::uint32_t>(m_count), 4);
    out += m_records;
    return out;
}

void CBinaryRecord::Point(int x, int y)
{
    AppendLE(m_records, static_cast<std::uint32_t>(x), 4);
    AppendLE(m_records, static_cast<std::uint32_t>(y), 4);
}

void CBinaryRecord::ShortString(std::string_view text)
{
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    m_records.push_back(static_cast<char>(length));
    m_records.append(text.substr(0, length));
}
