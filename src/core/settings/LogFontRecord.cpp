#include "settings/LogFontRecord.h"

#include "util/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace {

void PutInt32(std::string& out, std::int32_t value)
{
    AppendLE32(out, static_cast<std::uint32_t>(value));
}

std::int32_t GetInt32(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(ReadLE32(bytes, offset));
}

std::uint8_t GetByte(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::uint8_t>(bytes[offset]);
}

} // namespace

std::string CLogFontRecord::FaceName() const
{
    const void* end = std::memchr(lfFaceName.data(), 0, lfFaceName.size());
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - lfFaceName.data()) : lfFaceName.size() - 1;
    return std::string(lfFaceName.data(), length);
}

void CLogFontRecord::SetFaceName(std::string_view name)
{
    std::size_t length = std::min(name.size(), kFaceNameSize - 1);
    // Never leave half a UTF-8 character at the end of the cut.
    if (length < name.size()) {
        while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0u) == 0x80u)
            --length;
    }
    lfFaceName.fill(0);
    std::memcpy(lfFaceName.data(), name.data(), length);
}

std::string CLogFontRecord::Encode() const
{
    std::string out;
    out.reserve(kSize);
    PutInt32(out, lfHeight);
    PutInt32(out, lfWidth);
    PutInt32(out, lfEscapement);
    PutInt32(out, lfOrientation);
    PutInt32(out, lfWeight);
    for (std::uint8_t b :
         {lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily})
        out.push_back(static_cast<char>(b));
    out.append(lfFaceName.data(), lfFaceName.size());
    return out;
}

std::optional<CLogFontRecord> CLogFontRecord::Decode(std::string_view bytes)
{
    if (bytes.size() != kSize)
        return std::nullopt;
    CLogFontRecord font;
    font.lfHeight = GetInt32(bytes, 0);
    font.lfWidth = GetInt32(bytes, 4);
    font.lfEscapement = GetInt32(bytes, 8);
    font.lfOrientation = GetInt32(bytes, 12);
    font.lfWeight = GetInt32(bytes, 16);
    font.lfItalic = GetByte(bytes, 20);
    font.lfUnderline = GetByte(bytes, 21);
    font.lfStrikeOut = GetByte(bytes, 22);
    font.lfCharSet = GetByte(bytes, 23);
    font.lfOutPrecision = GetByte(bytes, 24);
    font.lfClipPrecision = GetByte(bytes, 25);
    font.lfQuality = GetByte(bytes, 26);
    font.lfPitchAndFamily = GetByte(bytes, 27);
    std::memcpy(font.lfFaceName.data(), bytes.data() + 28, kFaceNameSize);
    // A stored name without its zero still ends inside the record.
    font.lfFaceName[kFaceNameSize - 1] = 0;
    return font;
}
