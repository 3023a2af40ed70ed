#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The stored font description: the 60-byte LOGFONT layout (single-byte
// character form), little-endian, as kept under "Misc"/"Logfont".
struct CLogFontRecord
{
    static constexpr std::size_t kSize = 60;
    static constexpr std::size_t kFaceNameSize = 32;

    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    std::array<char, kFaceNameSize> lfFaceName{};

    // The face name up to its terminating zero (at most 31 bytes).
    std::string FaceName() const;
    // Sets the face name, cut to 31 bytes, never inside a UTF-8 character.
    void SetFaceName(std::string_view name);

    std::string Encode() const;
    // Nothing unless bytes are exactly 60 bytes long.
    static std::optional<CLogFontRecord> Decode(std::string_view bytes);
};
