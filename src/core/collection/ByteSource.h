#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Raw little-endian input for the binary game record, over bytes in memory
// or an open file, so the record is walked by one piece of code for both.
// Failures are sticky: after the first one every operation fails, and the
// walk only has to look at the state once it stops.
class CByteSource
{
public:
    enum class State {
        Ok,
        Ended,  // the input ended before the bytes asked for
        Failed, // the platform reported a read or seek failure
    };

    explicit CByteSource(std::string_view bytes);
    // Does not own the file; measures its size, so skips past the end are
    // noticed at once (seeking past the end of a file is not an error).
    explicit CByteSource(std::FILE* file);

    bool Read(void* out, std::size_t count);
    // Moves forward without reading.
    bool Skip(std::uint64_t count);

    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value);
    bool ReadI32(std::int32_t& value);

    State GetState() const { return m_state; }
    // The platform's text for a failure (State::Failed).
    const std::string& ErrorText() const { return m_error; }

private:
    void Fail();

    std::FILE* m_file = nullptr;
    const unsigned char* m_bytes = nullptr;
    std::uint64_t m_size = 0;
    std::uint64_t m_pos = 0;
    State m_state = State::Ok;
    std::string m_error;
};
