#include "reader/ByteSource.h"

#include <cstring>

CByteSource::CByteSource(std::string_view bytes)
    : m_bytes(reinterpret_cast<const unsigned char*>(bytes.data())), m_size(bytes.size())
{
}

bool CByteSource::Read(void* out, std::size_t count)
{
    if (m_state != State::Ok)
        return false;
    if (count > m_size - m_pos) {
        m_state = State::Ended;
        return false;
    }
    if (count > 0) {
        std::memcpy(out, m_bytes + m_pos, count);
    }
    m_pos += count;
    return true;
}

bool CByteSource::Skip(std::uint64_t count)
{
    if (m_state != State::Ok)
        return false;
    if (count > m_size - m_pos) {
        m_state = State::Ended;
        return false;
    }
    m_pos += count;
    return true;
}

bool CByteSource::ReadU8(std::uint8_t& value)
{
    return Read(&value, 1);
}

bool CByteSource::ReadU16(std::uint16_t& value)
{
    unsigned char b[2];
    if (!Read(b, sizeof b))
        return false;
    value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool CByteSource::ReadI32(std::int32_t& value)
{
    unsigned char b[4];
    if (!Read(b, sizeof b))
        return false;
    const std::uint32_t u = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    value = static_cast<std::int32_t>(u);
    return true;
}
