#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CFileInput;

// Text-mode input with one character of look-ahead: each CR LF pair reads as
// a single LF and the byte 0x1A ends the input. Reads either a memory buffer
// or an open file (in 4 KiB chunks, so a root node near the start of a large
// file costs one read). The stream does not own the file.
class CTextStream
{
public:
    static constexpr int kEnd = -1;

    explicit CTextStream(std::string_view bytes);
    explicit CTextStream(CFileInput& file);

    CTextStream(const CTextStream&) = delete;
    CTextStream& operator=(const CTextStream&) = delete;

    // The next character (0..255) without consuming it, or kEnd. Inline for
    // the common byte; CR, 0x1A and the end of a chunk take the long way.
    int Peek()
    {
        if (m_pos != m_end && *m_pos != '\r' && *m_pos != kCtrlZ)
            return *m_pos;
        return PeekSpecial();
    }
    // Consumes the next character and returns it, or kEnd.
    int Get()
    {
        const int c = Peek();
        if (c != kEnd)
            ++m_pos;
        return c;
    }

    // Appends the bytes from here on to out, consuming them, up to the first
    // that is stop1, stop2, CR or 0x1A, the end of the chunk read, or max
    // bytes, whichever comes first: the long plain stretches of a value go
    // in one step instead of a Peek and a Get each. Returns how many.
    std::size_t TakePlainRun(std::string& out, unsigned char stop1, unsigned char stop2, std::uint64_t max)
    {
        const unsigned char* const from = m_pos;
        const unsigned char* end = m_end;
        if (static_cast<std::uint64_t>(end - from) > max)
            end = from + max;
        const unsigned char* at = from;
        while (at != end && *at != stop1 && *at != stop2 && *at != '\r' && *at != kCtrlZ)
            ++at;
        out.append(reinterpret_cast<const char*>(from), static_cast<std::size_t>(at - from));
        m_pos = at;
        return static_cast<std::size_t>(at - from);
    }

    // Consumes the rest of a game tree from inside it, depth parentheses
    // deep, up to and including the ")" that closes it; a value's bytes,
    // escapes included, never count as parentheses. False when the input
    // ends first. depth is left as deep as the stream stands.
    bool SkipTree(int& depth);

    // How many raw bytes lie before the next character (a CR LF counts two).
    std::uint64_t Position() const { return m_base + static_cast<std::uint64_t>(m_pos - m_start); }
    // Goes back (or forward) to a position Position() gave; what was read
    // from there on is read again.
    void Rewind(std::uint64_t position);

    // The raw bytes read from the file and not yet consumed, before any
    // translation: a binary record picks up from them.
    std::string_view Unconsumed() const
    {
        return {reinterpret_cast<const char*>(m_pos), static_cast<std::size_t>(m_end - m_pos)};
    }
    // The raw bytes of a whole file that its first read brought entirely
    // (one short read from the start: the file ended there), so they need no
    // second read; false otherwise.
    bool WholeFileHeld(std::string_view& bytes) const
    {
        const auto held = static_cast<std::size_t>(m_end - m_start);
        if (!m_file || m_base != 0 || m_start != m_buffer || held >= sizeof m_buffer)
            return false;
        bytes = {reinterpret_cast<const char*>(m_start), held};
        return true;
    }

private:
    static constexpr unsigned char kCtrlZ = 0x1A;

    int PeekSpecial();
    bool Ensure(std::size_t count);

    CFileInput* m_file = nullptr;
    // m_start holds the byte at position m_base: the start of the memory
    // input, or of the buffer for a file.
    const unsigned char* m_start = nullptr;
    std::uint64_t m_base = 0;
    const unsigned char* m_pos = nullptr;
    const unsigned char* m_end = nullptr;
    bool m_ended = false;
    unsigned char m_buffer[4096];
};
