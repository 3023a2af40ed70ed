#include "reader/PropertyTable.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max();

std::size_t LengthSize(std::size_t length)
{
    std::size_t bytes = 1;
    while (length >>= 7)
        ++bytes;
    return bytes;
}

char* PutLength(char* out, std::size_t length)
{
    do {
        const auto low = static_cast<unsigned char>(length & 0x7F);
        length >>= 7;
        *out++ = static_cast<char>(length ? low | 0x80 : low);
    } while (length);
    return out;
}

// Reads a length at at; false when the bytes up to end do not hold one that
// fits the table.
bool TakeLength(const char*& at, const char* end, std::size_t& length)
{
    length = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (at == end)
            return false;
        const auto byte = static_cast<unsigned char>(*at++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return length <= kMaxBytes;
    }
    return false;
}

// The same on bytes known to be whole properties.
std::size_t Length(const char*& at)
{
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return length;
    }
}

} // namespace

CPropertyTable::Item CPropertyTable::CIterator::operator*() const
{
    const char* at = m_at;
    const std::size_t idSize = Length(at);
    const std::string_view id(at, idSize);
    at += idSize;
    const std::size_t valueSize = Length(at);
    return {id, std::string_view(at, valueSize)};
}

CPropertyTable::CIterator& CPropertyTable::CIterator::operator++()
{
    m_at += Length(m_at);
    m_at += Length(m_at);
    return *this;
}

CPropertyTable::CPropertyTable(const CPropertyTable& other)
{
    *this = other;
}

CPropertyTable::CPropertyTable(CPropertyTable&& other) noexcept
    : m_bytes(std::move(other.m_bytes)), m_used(other.m_used), m_capacity(other.m_capacity), m_count(other.m_count)
{
    other.m_used = other.m_capacity = other.m_count = 0;
}

CPropertyTable& CPropertyTable::operator=(const CPropertyTable& other)
{
    if (this == &other)
        return *this;
    if (m_capacity < other.m_used) {
        m_bytes.reset(other.m_used ? new char[other.m_used] : nullptr);
        m_capacity = other.m_used;
    }
    if (other.m_used)
        std::memcpy(m_bytes.get(), other.m_bytes.get(), other.m_used);
    m_used = other.m_used;
    m_count = other.m_count;
    return *this;
}

CPropertyTable& CPropertyTable::operator=(CPropertyTable&& other) noexcept
{
    m_bytes = std::move(other.m_bytes);
    m_used = other.m_used;
    m_capacity = other.m_capacity;
    m_count = other.m_count;
    other.m_used = other.m_capacity = other.m_count = 0;
    return *this;
}

std::size_t CPropertyTable::PackedSize(std::string_view id, std::string_view value)
{
    return LengthSize(id.size()) + id.size() + LengthSize(value.size()) + value.size();
}

std::uint32_t CPropertyTable::Locate(std::string_view id) const
{
    const char* const start = m_bytes.get();
    const char* at = start;
    const char* const end = start + m_used;
    while (at != end) {
        const char* const item = at;
        const std::size_t idSize = Length(at);
        // Identifiers are one or two letters: comparing their bytes here
        // costs less than a call to memcmp for each entry.
        if (idSize == id.size()) {
            std::size_t same = 0;
            while (same < idSize && at[same] == id[same])
                ++same;
            if (same == idSize)
                return static_cast<std::uint32_t>(item - start);
        }
        at += idSize;
        at += Length(at);
    }
    return m_used;
}

CPropertyValue CPropertyTable::Find(std::string_view id) const
{
    const std::uint32_t offset = Locate(id);
    if (offset == m_used)
        return {};
    return CPropertyValue((*CIterator(m_bytes.get() + offset)).second);
}

void CPropertyTable::ReserveBytes(std::size_t bytes)
{
    if (bytes <= m_capacity)
        return;
    if (bytes > kMaxBytes)
        throw std::length_error("property table too large");
    std::unique_ptr<char[]> grown(new char[bytes]);
    if (m_used)
        std::memcpy(grown.get(), m_bytes.get(), m_used);
    m_bytes = std::move(grown);
    m_capacity = static_cast<std::uint32_t>(bytes);
}

void CPropertyTable::Set(std::string_view id, std::string_view value)
{
    const std::size_t size = PackedSize(id, value);
    const std::uint32_t offset = Locate(id);
    std::size_t oldSize = 0;
    if (offset != m_used) {
        const char* at = m_bytes.get() + offset;
        at += Length(at);
        at += Length(at);
        oldSize = static_cast<std::size_t>(at - (m_bytes.get() + offset));
    }
    // value may be a view into this table's own bytes, so it is written
    // before anything moves: into a new block when the table must grow.
    const std::size_t used = m_used - oldSize + size;
    if (used > kMaxBytes)
        throw std::length_error("property table too large");
    const std::size_t tail = m_used - offset - oldSize;
    std::unique_ptr<char[]> grown;
    char* target = m_bytes.get();
    if (used > m_capacity || (oldSize && size != oldSize)) {
        std::size_t capacity = std::max<std::size_t>({used, m_capacity + m_capacity / 2, 64});
        capacity = std::min(capacity, kMaxBytes);
        if (used <= m_capacity)
            capacity = m_capacity;
        grown.reset(new char[capacity]);
        target = grown.get();
        if (offset)
            std::memcpy(target, m_bytes.get(), offset);
        if (tail)
            std::memcpy(target + offset + size, m_bytes.get() + offset + oldSize, tail);
        m_capacity = static_cast<std::uint32_t>(capacity);
    }
    char* out = PutLength(target + offset, id.size());
    std::memmove(out, id.data(), id.size());
    out = PutLength(out + id.size(), value.size());
    std::memmove(out, value.data(), value.size());
    if (grown)
        m_bytes = std::move(grown);
    m_used = static_cast<std::uint32_t>(used);
    if (!oldSize)
        ++m_count;
}

bool CPropertyTable::AssignPacked(std::string_view packed)
{
    if (packed.size() > kMaxBytes)
        return false;
    const char* const end = packed.data() + packed.size();
    std::size_t count = 0;
    for (const char* at = packed.data(); at != end; ++count) {
        const char* const item = at;
        std::size_t idSize = 0;
        std::size_t valueSize = 0;
        if (!TakeLength(at, end, idSize) || idSize > static_cast<std::size_t>(end - at))
            return false;
        const std::string_view id(at, idSize);
        at += idSize;
        if (!TakeLength(at, end, valueSize) || valueSize > static_cast<std::size_t>(end - at))
            return false;
        at += valueSize;
        // Each identifier once, as Set keeps them.
        for (CIterator before(packed.data()); before != CIterator(item); ++before) {
            if ((*before).first == id)
                return false;
        }
    }
    // A block of the size asked, unless the one held already fits well.
    if (m_capacity < packed.size() || m_capacity > 2 * packed.size()) {
        m_bytes.reset(packed.empty() ? nullptr : new char[packed.size()]);
        m_capacity = static_cast<std::uint32_t>(packed.size());
    }
    if (!packed.empty())
        std::memcpy(m_bytes.get(), packed.data(), packed.size());
    m_used = static_cast<std::uint32_t>(packed.size());
    m_count = static_cast<std::uint32_t>(count);
    return true;
}
