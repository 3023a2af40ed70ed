#include "columns/HeaderLists.h"

#include "columns/ColumnDef.h"
#include "util/AsciiFold.h"

#include <cstddef>
#include <utility>

namespace {

std::string HeaderOf(std::string_view definition)
{
    return SplitDefinition(definition).m_strHeader;
}

bool IsLine(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}
} // namespace

bool SameHeader(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

int CHeaderLists::Load(const CDelimStringArray& definitions, const CDelimStringArray& shown)
{
    m_available.assign(definitions.begin(), definitions.end());
    m_headers.clear();
    m_selAvailable = kNone;
    m_selHeaders = kNone;
    int skipped = 0;
    if (shown.empty()) {
        for (const std::string& definition : definitions)
            m_headers.push_back(HeaderOf(definition));
        return skipped;
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const std::int32_t position = shown.GetInt(static_cast<std::int32_t>(i));
        if (!IsLine(position, definitions.size())) {
            ++skipped;
            continue;
        }
        m_headers.push_back(HeaderOf(definitions[static_cast<std::size_t>(position)]));
    }
    return skipped;
}

int CHeaderLists::FindHeader(std::string_view header) const
{
    for (std::size_t i = 0; i < m_headers.size(); ++i) {
        if (SameHeader(m_headers[i], header))
            return static_cast<int>(i);
    }
    return kNone;
}

void CHeaderLists::MoveRight()
{
    if (IsLine(m_selAvailable, m_available.size())) {
        std::string header = HeaderOf(m_available[static_cast<std::size_t>(m_selAvailable)]);
        if (FindHeader(header) == kNone) {
            if (IsLine(m_selHeaders, m_headers.size()))
                m_headers.insert(m_headers.begin() + m_selHeaders, std::move(header));
            else
                m_headers.push_back(std::move(header));
        }
    }
    KeepValidSelections();
}

void CHeaderLists::MoveLeft()
{
    if (IsLine(m_selHeaders, m_headers.size()))
        m_headers.erase(m_headers.begin() + m_selHeaders);
    KeepValidSelections();
}

void CHeaderLists::MoveUp()
{
    const int target = m_selHeaders - 1;
    if (IsLine(m_selHeaders, m_headers.size()) && target >= 0) {
        std::swap(m_headers[static_cast<std::size_t>(m_selHeaders)], m_headers[static_cast<std::size_t>(target)]);
        m_selHeaders = target;
    }
    KeepValidSelections();
}

void CHeaderLists::MoveDown()
{
    const int target = m_selHeaders + 1;
    if (IsLine(m_selHeaders, m_headers.size()) && IsLine(target, m_headers.size())) {
        std::swap(m_headers[static_cast<std::size_t>(m_selHeaders)], m_headers[static_cast<std::size_t>(target)]);
        m_selHeaders = target;
    }
    KeepValidSelections();
}

void CHeaderLists::InsertDefinition(std::string definition)
{
    if (IsLine(m_selAvailable, m_available.size()))
        m_available.insert(m_available.begin() + m_selAvailable, std::move(definition));
    else
        m_available.push_back(std::move(definition));
    KeepValidSelections();
}

void CHeaderLists::Remove()
{
    if (IsLine(m_selAvailable, m_available.size())) {
        const int shown = FindHeader(HeaderOf(m_available[static_cast<std::size_t>(m_selAvailable)]));
        if (shown != kNone)
            m_headers.erase(m_headers.begin() + shown);
        m_available.erase(m_available.begin() + m_selAvailable);
    }
    KeepValidSelections();
}

void CHeaderLists::Apply(CDelimStringArray& definitions, CDelimStringArray& shown) const
{
    definitions.resize(m_available.size());
    shown.resize(m_headers.size());
    for (std::size_t i = 0; i < m_available.size(); ++i) {
        definitions[i] = m_available[i];
        const int position = FindHeader(HeaderOf(m_available[i]));
        if (position != kNone)
            shown.SetInt(position, static_cast<std::int32_t>(i));
    }
}

void CHeaderLists::KeepValidSelections()
{
    if (!IsLine(m_selAvailable, m_available.size()))
        m_selAvailable = kNone;
    if (!IsLine(m_selHeaders, m_headers.size()))
        m_selHeaders = kNone;
}
