#pragma once

#include <string>
#include <string_view>
#include <vector>

// The quick filter over the rows: the text typed is cut at blanks into
// words, and a row is kept when every word is found in one of its cells
// (each word in any cell). Both sides are compared in their case-folded
// display form, which the caller makes (the core has no Unicode tables);
// the row's cells are joined by kCellBreak, which no word can hold, so a
// word never matches across two cells.
class CRowFilter
{
public:
    static constexpr char kCellBreak = '\n';

    CRowFilter() = default;
    // foldedText: the typed text, already case-folded.
    explicit CRowFilter(std::string_view foldedText);

    bool IsEmpty() const { return m_words.empty(); }
    const std::vector<std::string>& Words() const { return m_words; }
    bool Matches(std::string_view foldedRow) const;

    bool operator==(const CRowFilter&) const = default;

private:
    std::vector<std::string> m_words;
};
