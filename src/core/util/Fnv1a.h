#pragma once

#include <cstdint>
#include <string_view>

// FNV-1a, 64 bits: quick and stable across runs and machines, for hashes
// that are stored or only pick candidates. Names chosen by others go
// through a keyed hash instead.
inline constexpr std::uint64_t kFnv1aStart = 0xcbf29ce484222325ull;

constexpr std::uint64_t Fnv1aByte(std::uint64_t hash, std::uint8_t byte)
{
    return (hash ^ byte) * 0x100000001b3ull;
}

constexpr std::uint64_t Fnv1a(std::uint64_t hash, std::string_view bytes)
{
    for (const char c : bytes)
        hash = Fnv1aByte(hash, static_cast<std::uint8_t>(c));
    return hash;
}

// The bytes of value, least significant first.
constexpr std::uint64_t Fnv1aLittleEndian(std::uint64_t hash, std::uint64_t value, int bytes = 8)
{
    for (int i = 0; i < bytes; ++i)
        hash = Fnv1aByte(hash, static_cast<std::uint8_t>(value >> (8 * i)));
    return hash;
}
