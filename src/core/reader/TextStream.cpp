#include "reader/TextStream.h"

#include "files/FileInput.h"

#include <array>
#include <cstring>

CTextStream::CTextStream(std::string_view bytes)
    : m_start(reinterpret_cast<const unsigned char*>(bytes.data())), m_pos(m_start), m_end(m_start + bytes.size())
{
}

CTextStream::CTextStream(CFileInput& file) : m_file(&file), m_start(m_buffer), m_pos(m_buffer), m_end(m_buffer) {}

void CTextStream::Rewind(std::uint64_t position)
{
    m_ended = false;
    const auto held = static_cast<std::uint64_t>(m_end - m_start);
    if (position >= m_base && position - m_base <= held) {
        m_pos = m_start + (position - m_base);
        return;
    }
    if (m_file == nullptr) {
        m_pos = m_end;
        return;
    }
    m_file->Seek(position);
    m_base = position;
    m_start = m_pos = m_end = m_buffer;
}

// Makes at least count raw bytes available, keeping the ones not yet
// consumed; false when the input ends first. A CR at the end of a chunk
// needs the first byte of the next one to know whether it starts a CR LF.
bool CTextStream::Ensure(std::size_t count)
{
    std::size_t have = static_cast<std::size_t>(m_end - m_pos);
    if (have >= count)
        return true;
    if (m_file == nullptr)
        return false;
    if (have > 0 && m_pos != m_buffer)
        std::memmove(m_buffer, m_pos, have);
    m_base += static_cast<std::uint64_t>(m_pos - m_start);
    m_start = m_pos = m_buffer;
    while (have < count) {
        // A read error ends the input like the end of the file does.
        const long got = m_file->Read(m_buffer + have, sizeof(m_buffer) - have);
        if (got <= 0)
            break;
        have += static_cast<std::size_t>(got);
    }
    m_end = m_buffer + have;
    return have >= count;
}

int CTextStream::PeekSpecial()
{
    if (m_ended)
        return kEnd;
    if (m_pos == m_end && !Ensure(1)) {
        m_ended = true;
        return kEnd;
    }
    const unsigned char c = *m_pos;
    if (c == kCtrlZ) {
        m_ended = true;
        return kEnd;
    }
    if (c == '\r' && Ensure(2) && m_pos[1] == '\n') {
        // The CR of a CR LF pair is dropped here, so Get() consumes the LF.
        ++m_pos;
        return '\n';
    }
    return c;
}

namespace {

// The bytes that matter while a game tree is passed over.
enum : unsigned char { kPlain, kOpenValue, kCloseValue, kEscape, kOpen, kClose, kStop };
constexpr auto kTreeBytes = [] {
    std::array<unsigned char, 256> kinds{};
    kinds['['] = kOpenValue;
    kinds[']'] = kCloseValue;
    kinds['\\'] = kEscape;
    kinds['('] = kOpen;
    kinds[')'] = kClose;
    kinds[0x1A] = kStop;
    return kinds;
}();

} // namespace

bool CTextStream::SkipTree(int& depth)
{
    // The moves and comments after a game's root node are passed over here,
    // a byte at a time straight from the buffer: a CR needs no translation,
    // as only brackets, escapes and parentheses count.
    bool inValue = false;
    bool escaped = false;
    for (;;) {
        const unsigned char* at = m_pos;
        const unsigned char* const end = m_end;
        while (at != end) {
            const unsigned char kind = kTreeBytes[*at++];
            if (kind == kPlain) {
                escaped = false;
                continue;
            }
            if (kind == kStop) {
                m_pos = at - 1;
                m_ended = true;
                return false;
            }
            if (inValue) {
                if (escaped)
                    escaped = false;
                else if (kind == kEscape)
                    escaped = true;
                else if (kind == kCloseValue)
                    inValue = false;
                continue;
            }
            if (kind == kOpenValue) {
                inValue = true;
            } else if (kind == kOpen) {
                ++depth;
            } else if (kind == kClose && --depth <= 0) {
                m_pos = at;
                return true;
            }
        }
        m_pos = at;
        if (m_ended || !Ensure(1)) {
            m_ended = true;
            return false;
        }
    }
}
