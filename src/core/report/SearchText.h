#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the quick filter looks at in one row, in case-folded display form
// (UTF-8): the shown cells, and the record's fields the filter asked for so
// far. Fields are added when a filter first names them, so a row carries
// only what searches use; a field the record lacks is kept as absent, so it
// is not looked up again.
class CSearchText
{
public:
    // The cells, each ended by kCellBreak, which no word can hold.
    static constexpr char kCellBreak = '\n';

    std::string cells;

    bool empty() const { return cells.empty(); }
    void clear()
    {
        cells.clear();
        m_fields.clear();
        m_slots.clear();
        m_count = 0;
    }

    bool HasField(std::string_view id) const;
    // The folded text of a field, or nothing when the record lacks it (or it
    // was never added).
    std::optional<std::string_view> Field(std::string_view id) const;
    // Adds a field (id as the filter names it); a null text marks it absent.
    void AddField(std::string_view id, const std::string* folded);

private:
    // Each field: kStart, its id, then kValue and its text or kAbsent. The
    // marks are control bytes taken out of the texts, so a text can never
    // pose as another field.
    static constexpr char kStart = '\x1F';
    static constexpr char kValue = '\x1E';
    static constexpr char kAbsent = '\x1D';
    // Up to this many fields a lookup scans them; beyond, it goes through
    // m_slots, so a filter of hundreds of field terms costs one probe per term.
    static constexpr std::uint32_t kScanLimit = 8;

    // Where the field's mark after its id stands, or npos.
    std::size_t FindField(std::string_view id) const;
    // The id of the field whose kStart mark is at start, and where its mark after the id stands.
    std::string_view IdAt(std::size_t start, std::size_t& mark) const;
    // Puts the field starting at start into m_slots.
    void Place(std::uint32_t start);
    // Makes m_slots anew with room for twice the fields, or four times.
    void Rehash();

    std::string m_fields;
    // Open addressing by the id's hash: each slot holds a field's start + 1,
    // 0 when empty. Empty while the row holds kScanLimit fields or fewer.
    std::vector<std::uint32_t> m_slots;
    std::uint32_t m_count = 0;
};
