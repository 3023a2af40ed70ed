#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The stored window placement: the platform's 44-byte placement record,
// little-endian, kept in this layout so a stored value means the same on
// every platform the program runs on.
struct CWindowPlacementRecord
{
    static constexpr std::uint32_t kSize = 44;

    // Show states as the platform numbers them.
    static constexpr std::uint32_t kShowNormal = 1;
    static constexpr std::uint32_t kShowMinimized = 2;
    static constexpr std::uint32_t kShowMaximized = 3;
    // Set when a minimised window goes back to the maximised state.
    static constexpr std::uint32_t kRestoreToMaximized = 2;

    std::uint32_t length = kSize;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = kShowNormal;
    std::int32_t minX = -1;
    std::int32_t minY = -1;
    std::int32_t maxX = -1;
    std::int32_t maxY = -1;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    // The 44 bytes of the record.
    std::string Encode() const;
    // A value shorter than the record is nothing; bytes beyond it are ignored.
    static std::optional<CWindowPlacementRecord> Decode(std::string_view bytes);
};
