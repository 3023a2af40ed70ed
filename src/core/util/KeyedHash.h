#pragma once

#include <cstdint>
#include <string_view>

// SipHash-1-3 of bytes under the 128-bit key (k0, k1): a hash whose
// collisions cannot be found without the key, for tables that hold names
// chosen by others.
std::uint64_t SipHash13(std::string_view bytes, std::uint64_t k0, std::uint64_t k1);

// SipHash-1-3 under a key drawn once per process, for in-memory indexes.
std::uint64_t ProcessKeyedHash(std::string_view bytes);
