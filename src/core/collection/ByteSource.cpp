#include "collection/ByteSource.h"

#include <cerrno>
#include <cstring>

CByteSource::CByteSource(std::string_view bytes)
    : m_bytes(reinterpret_cast<const unsigned char*>(bytes.data())), m_size(bytes.size())
{
}

CByteSource::CByteSource(std::FILE* file) : m_file(file)
{
    errno = 0;
    if (std::fseek(m_file, 0, SEEK_END) != 0) {
        Fail();
        return;
    }
    const long size = std::ftell(m_file);
    if (size < 0 || std::fseek(m_file, 0, SEEK_SET) != 0) {
        Fail();
        return;
    }
    m_size = static_cast<std::uint64_t>(size);
}

void CByteSource::Fail()
{
    m_state = State::Failed;
    const int code = errno != 0 ? errno : EIO;
    m_error = std::strerror(code);
}

bool CByteSource::Read(void* out, std::size_t count)
{
    if (m_state != State::Ok)
        return false;
    if (count > m_size - m_pos) {
        m_state = State::Ended;
        return false;
    }
    if (m_file != nullptr) {
        errno = 0;
        const std::size_t got = std::fread(out, 1, count, m_file);
        if (got != count) {
            // The file may have shrunk since it was measured.
            if (std::ferror(m_file))
                Fail();
            else
                m_state = State::Ended;
            return false;
        }
    } else if (count > 0) {
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
    if (m_file != nullptr) {
        errno = 0;
        // count lies within the size ftell gave, so it fits a long.
        if (std::fseek(m_file, static_cast<long>(count), SEEK_CUR) != 0) {
            Fail();
            return false;
        }
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
