#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Raw little-endian input for the binary game record, over bytes in memory.
// A game file is read into memory (up to the record limit) before it is
// walked, so the program and the fuzzer go through this one path. The end of
// the input is sticky: after the first short read every operation fails, and
// the walk only has to look at the state once it stops.
class CByteSource
{
public:
    enum class State {
        Ok,
        Ended, // the input ended before the bytes asked for
    };

    explicit CByteSource(std::string_view bytes);

    bool Read(void* out, std::size_t count);
    // Moves forward without reading.
    bool Skip(std::uint64_t count);

    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value);
    bool ReadI32(std::int32_t& value);

    State GetState() const { return m_state; }

private:
    const unsigned char* m_bytes = nullptr;
    std::uint64_t m_size = 0;
    std::uint64_t m_pos = 0;
    State m_state = State::Ok;
};
