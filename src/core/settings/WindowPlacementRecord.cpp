#include "settings/WindowPlacementRecord.h"

#include "util/LittleEndian.h"

namespace {
std::int32_t ReadI32(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(ReadLE32(bytes, offset));
}
} // namespace

std::string CWindowPlacementRecord::Encode() const
{
    std::string out;
    out.reserve(kSize);
    AppendLE32(out, length);
    AppendLE32(out, flags);
    AppendLE32(out, showCmd);
    for (std::int32_t value : {minX, minY, maxX, maxY, left, top, right, bottom})
        AppendLE32(out, static_cast<std::uint32_t>(value));
    return out;
}

std::optional<CWindowPlacementRecord> CWindowPlacementRecord::Decode(std::string_view bytes)
{
    if (bytes.size() < kSize)
        return std::nullopt;
    CWindowPlacementRecord record;
    record.length = ReadLE32(bytes, 0);
    record.flags = ReadLE32(bytes, 4);
    record.showCmd = ReadLE32(bytes, 8);
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
