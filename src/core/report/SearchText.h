#pragma once

#include <optional>
#include <string>
#include <string_view>

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
    // Where the field's mark after its id stands, or npos.
    std::size_t FindField(std::string_view id) const;

    std::string m_fields;
};
