#include "app/WindowPlacementRecord.h"

namespace {
void AppendU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return value;
}

std::int32_t ReadI32(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(ReadU32(bytes, offset));
}
} // namespace

std::string CWindowPlacementRecord::Encode() const
{
    std::string out;
    out.reserve(kSize);
    AppendU32(out, length);
    AppendU32(out, flags);
    AppendU32(out, showCmd);
    for (std::int32_t value : {minX, minY, maxX, maxY, left, top, right, bottom})
        AppendU32(out, static_cast<std::uint32_t>(value));
    return out;
}

std::optional<CWindowPlacementRecord> CWindowPlacementRecord::Decode(std::string_view bytes)
{
    if (bytes.size() < kSize)
        return std::nullopt;
    CWindowPlacementRecord record;
    record.length = ReadU32(bytes, 0);
    record.flags = ReadU32(bytes, 4);
    record.showCmd = ReadU32(bytes, 8);
    record.minX = ReadI32(bytes, 12);
    record.minY = ReadI32(bytes, 16);
    record.maxX = ReadI32(bytes, 20);
    record.maxY = ReadI32(bytes, 24);
    record.left = ReadI32(bytes, 28);
    record.top = ReadI32(bytes, 32);
    record.right = ReadI32(bytes, 36);
    record.bottom = ReadI32(bytes, 40);
    return record;
}
