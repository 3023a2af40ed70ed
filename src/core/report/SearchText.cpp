#include "report/SearchText.h"

#include <limits>

namespace {

std::size_t HashOf(std::string_view id)
{
    // FNV-1a: ids are a few letters, any even spread will do.
    std::uint32_t hash = 2166136261u;
    for (char c : id) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

std::string_view CSearchText::IdAt(std::size_t start, std::size_t& mark) const
{
    const std::string_view fields(m_fields);
    const std::size_t idStart = start + 1;
    mark = idStart;
    while (mark < fields.size() && fields[mark] != kValue && fields[mark] != kAbsent)
        ++mark;
    return fields.substr(idStart, mark - idStart);
}

std::size_t CSearchText::FindField(std::string_view id) const
{
    std::size_t mark = 0;
    if (!m_slots.empty()) {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = HashOf(id) & mask; m_slots[slot] != 0; slot = (slot + 1) & mask)
            if (IdAt(m_slots[slot] - 1, mark) == id)
                return mark;
        return std::string::npos;
    }
    std::size_t at = 0;
    while (at < m_fields.size()) {
        // at is on a kStart mark.
        if (IdAt(at, mark) == id)
            return mark;
        at = m_fields.find(kStart, mark);
    }
    return std::string::npos;
}

void CSearchText::Place(std::uint32_t start)
{
    std::size_t mark = 0;
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = HashOf(IdAt(start, mark)) & mask;
    // A field added twice keeps its first place ahead on the probe path, so
    // the first one is found, as a scan finds it.
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = start + 1;
}

void CSearchText::Rehash()
{
    std::size_t size = 16;
    while (size < 4 * static_cast<std::size_t>(m_count))
        size *= 2;
    m_slots.assign(size, 0);
    for (std::size_t at = 0; at < m_fields.size(); at = m_fields.find(kStart, at + 1))
        Place(static_cast<std::uint32_t>(at));
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
    const std::size_t start = m_fields.size();
    m_fields += kStart;
    m_fields += id;
    if (!folded) {
        m_fields += kAbsent;
    } else {
        m_fields += kValue;
        const std::size_t at = m_fields.size();
        m_fields += *folded;
        for (std::size_t i = at; i < m_fields.size(); ++i)
            if (m_fields[i] == kStart || m_fields[i] == kValue || m_fields[i] == kAbsent)
                m_fields[i] = ' ';
    }
    ++m_count;
    // Starts are kept in 32 bits; a row's fields never come near 4 GiB, and
    // should they, lookups scan as for a few fields.
    if (m_fields.size() > std::numeric_limits<std::uint32_t>::max() - 1) {
        m_slots.clear();
        return;
    }
    if (m_count <= kScanLimit)
        return;
    if (m_slots.empty() || 2 * static_cast<std::size_t>(m_count) > m_slots.size())
        Rehash();
    else
        Place(static_cast<std::uint32_t>(start));
}
