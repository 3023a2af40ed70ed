#include "util/KeyedHash.h"

#include <random>

namespace {

std::uint64_t Rotl(std::uint64_t x, int b)
{
    return (x << b) | (x >> (64 - b));
}

} // namespace

std::uint64_t SipHash13(std::string_view bytes, std::uint64_t k0, std::uint64_t k1)
{
    std::uint64_t v0 = k0 ^ 0x736f6d6570736575ull;
    std::uint64_t v1 = k1 ^ 0x646f72616e646f6dull;
    std::uint64_t v2 = k0 ^ 0x6c7967656e657261ull;
    std::uint64_t v3 = k1 ^ 0x7465646279746573ull;
    auto round = [&] {
        v0 += v1;
        v1 = Rotl(v1, 13);
        v1 ^= v0;
        v0 = Rotl(v0, 32);
        v2 += v3;
        v3 = Rotl(v3, 16);
        v3 ^= v2;
        v0 += v3;
        v3 = Rotl(v3, 21);
        v3 ^= v0;
        v2 += v1;
        v1 = Rotl(v1, 17);
        v1 ^= v2;
        v2 = Rotl(v2, 32);
    };
    auto word = [](const char* p, std::size_t n) {
        std::uint64_t m = 0;
        for (std::size_t i = 0; i < n; ++i)
            m |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
        return m;
    };
    const std::size_t whole = bytes.size() / 8 * 8;
    for (std::size_t i = 0; i < whole; i += 8) {
        const std::uint64_t m = word(bytes.data() + i, 8);
        v3 ^= m;
        round();
        v0 ^= m;
    }
    const std::uint64_t last =
        (static_cast<std::uint64_t>(bytes.size()) << 56) | word(bytes.data() + whole, bytes.size() - whole);
    v3 ^= last;
    round();
    v0 ^= last;
    v2 ^= 0xff;
    round();
    round();
    round();
    return v0 ^ v1 ^ v2 ^ v3;
}

std::uint64_t ProcessKeyedHash(std::string_view bytes)
{
    struct SKey
    {
        std::uint64_t k0;
        std::uint64_t k1;
    };
    static const SKey key = [] {
        std::random_device rd;
        auto draw = [&] { return (static_cast<std::uint64_t>(rd()) << 32) ^ rd(); };
        return SKey{draw(), draw()};
    }();
    return SipHash13(bytes, key.k0, key.k1);
}
