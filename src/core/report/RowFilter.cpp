#include "report/RowFilter.h"

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
} // namespace

CRowFilter::CRowFilter(std::string_view foldedText)
{
    std::size_t i = 0;
    while (i < foldedText.size()) {
        while (i < foldedText.size() && IsBlank(foldedText[i]))
            ++i;
        const std::size_t start = i;
        while (i < foldedText.size() && !IsBlank(foldedText[i]))
            ++i;
        if (i > start)
            m_words.emplace_back(foldedText.substr(start, i - start));
    }
}

bool CRowFilter::Matches(std::string_view foldedRow) const
{
    for (const std::string& word : m_words) {
        if (foldedRow.find(word) == std::string_view::npos)
            return false;
    }
    return true;
}
