#include "report/SearchText.h"

std::size_t CSearchText::FindField(std::string_view id) const
{
    const std::string_view fields(m_fields);
    std::size_t at = 0;
    while (at < fields.size()) {
        // at is on a kStart mark.
        const std::size_t idStart = at + 1;
        std::size_t mark = idStart;
        while (mark < fields.size() && fields[mark] != kValue && fields[mark] != kAbsent)
            ++mark;
        if (fields.substr(idStart, mark - idStart) == id)
            return mark;
        at = fields.find(kStart, mark);
    }
    return std::string::npos;
}

bool CSearchText::HasField(std::string_view id) const
{
    return FindField(id) != std::string::npos;
}

std::optional<std::string_view> CSearchText::Field(std::string_view id) const
{
    const std::size_t mark = FindField(id);
    if (mark == std::string::npos || m_fields[mark] == kAbsent)
        return std::nullopt;
    const std::size_t end = m_fields.find(kStart, mark + 1);
    const std::string_view fields(m_fields);
    return fields.substr(mark + 1, (end == std::string::npos ? fields.size() : end) - mark - 1);
}

void CSearchText::AddField(std::string_view id, const std::string* folded)
{
    m_fields += kStart;
    m_fields += id;
    if (!folded) {
        m_fields += kAbsent;
        return;
    }
    m_fields += kValue;
    const std::size_t at = m_fields.size();
    m_fields += *folded;
    for (std::size_t i = at; i < m_fields.size(); ++i)
        if (m_fields[i] == kStart || m_fields[i] == kValue || m_fields[i] == kAbsent)
            m_fields[i] = ' ';
}
