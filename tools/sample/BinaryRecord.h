#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Builds a game record in the coded binary form: the format mark 6, a
// contents value, 12 bytes the reader passes over, the record count, then
// the records (a 16-bit code and its payload). All integers little-endian.
class CBinaryRecord
{
public:
    // One kept property: its code and a short string of at most 255 bytes
    // (longer values are cut, as the form cannot hold them).
    void AddString(std::uint16_t code, std::string_view value);
    // A move of Black (code 1) or White (code 2): 8 bytes, the two coordinates.
    void AddMove(bool black, int x, int y);
    // Setup stones (codes 7, 8, 9): a 16-bit count and 8 bytes per point.
    void AddStones(std::uint16_t code, std::string_view points);
    // A label record (code 12): one point, then one short string for it.
    void AddLabel(int x, int y, std::string_view text);

    std::string Bytes() const;

private:
    void Point(int x, int y);
    void ShortString(std::string_view text);

    std::string m_records;
    std::int32_t m_count = 0;
};
