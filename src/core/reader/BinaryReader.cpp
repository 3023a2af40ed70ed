#include "reader/BinaryReader.h"

#include "files/FileInput.h"
#include "reader/ByteSource.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>

namespace {

// Names of the binary property codes, indexed by code; code 0 is the empty name.
constexpr std::array<std::string_view, 33> kCodeNames = {
    "",   "B",  "W",  "C",  "N",  "BL", "WL", "AB", "AW", "AE", "PL", "SZ", "LB", "CR", "MA", "SQ", "TR",
    "GN", "GC", "EV", "RO", "DT", "PC", "PB", "BR", "PW", "WR", "HA", "TM", "KM", "RE", "US", "SO",
};

constexpr std::size_t kPointBytes = 8;

enum class Payload {
    Move,      // 8 bytes
    PointList, // 16-bit count k, k * 8 bytes
    LabelList, // a point list, then 16-bit count m, m short strings
    Kept,      // one short string, stored under the code's name
    Unknown,   // one short string, dropped
};

Payload PayloadOf(std::uint16_t code)
{
    switch (code) {
    case 1:
    case 2:
        return Payload::Move;
    case 7:
    case 8:
    case 9:
    case 13:
    case 14:
    case 15:
    case 16:
        return Payload::PointList;
    case 12:
        return Payload::LabelList;
    default:
        // Codes past the table have no name to store under. Every named code
        // but the point records carries one short string, so an unknown code
        // is taken to do the same: its string is read and dropped, and the
        // records after it stay in step.
        return code < kCodeNames.size() ? Payload::Kept : Payload::Unknown;
    }
}

bool SkipPoints(CByteSource& source)
{
    std::uint16_t count = 0;
    return source.ReadU16(count) && source.Skip(std::uint64_t{count} * kPointBytes);
}

// Walks the record from its format mark. Ends of input:
// - a value at offset 1 below 1, or a negative record count, means the
//   record holds nothing to read: success with what was stored (nothing);
// - the input ending anywhere before the counted records are all read
//   (inside the header, inside a record, or fewer records than counted) is
//   a torn file and fails, like a text record that runs into its end.
// Every pass of the record loop consumes at least two bytes or stops, so a
// huge count ends as soon as the input does.
bool WalkBinaryRecord(CByteSource& source, CPropertyTable& table)
{
    std::int32_t contents = 0;
    if (!source.Skip(1) || !source.ReadI32(contents))
        return false;
    if (contents < 1)
        return true;

    std::int32_t count = 0;
    if (!source.Skip(12) || !source.ReadI32(count))
        return false;

    for (std::int32_t i = 0; i < count; ++i) {
        std::uint16_t code = 0;
        if (!source.ReadU16(code))
            return false;
        switch (PayloadOf(code)) {
        case Payload::Move:
            if (!source.Skip(kPointBytes))
                return false;
            break;
        case Payload::PointList:
            if (!SkipPoints(source))
                return false;
            break;
        case Payload::LabelList: {
            std::uint16_t labels = 0;
            if (!SkipPoints(source) || !source.ReadU16(labels))
                return false;
            for (std::uint16_t j = 0; j < labels; ++j) {
                if (!ReadShortString(source))
                    return false;
            }
            break;
        }
        case Payload::Unknown:
            if (!ReadShortString(source))
                return false;
            break;
        case Payload::Kept: {
            const std::optional<std::string> value = ReadShortString(source);
            if (!value)
                return false;
            std::string_view kept = *value;
            kept = kept.substr(0, kept.find('\0'));
            table.Set(kCodeNames[code], kept);
            break;
        }
        }
    }
    return true;
}
} // namespace

std::optional<std::string> ReadShortString(CByteSource& file)
{
    std::uint8_t length = 0;
    if (!file.ReadU8(length))
        return std::nullopt;
    std::string text(length, '\0');
    if (!file.Read(text.data(), text.size()))
        return std::nullopt;
    return text;
}

ERecordResult ReadBinaryRecord(CFileInput& file, std::string_view start, const std::string& path, CPropertyTable& table,
                               IReadHooks& hooks)
{
    // The file goes into memory and is walked there, by the same code that
    // walks bytes handed in directly; game files are small. One byte past
    // the limit is read to know whether the file was cut by it.
    const std::uint64_t limit = hooks.MaxRecordBytes();
    std::string bytes(start.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(start.size(), limit + 1))));
    std::array<char, 16384> chunk;
    while (bytes.size() <= limit) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), limit + 1 - bytes.size()));
        const long got = file.Read(chunk.data(), want);
        if (got < 0 && file.Refused())
            return ERecordResult::NotARecord;
        if (got < 0) {
            const int error = file.Error();
            hooks.ReportFileError(path, std::strerror(error != 0 ? error : EIO));
            return ERecordResult::FileError;
        }
        if (got == 0)
            break;
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    // A record that ends within the limit is read, whatever follows it.
    const bool cut = bytes.size() > limit;
    if (cut)
        bytes.resize(static_cast<std::size_t>(limit));
    if (ReadBinaryRecord(std::string_view(bytes), table))
        return ERecordResult::Read;
    return cut ? ERecordResult::TooLarge : ERecordResult::NotARecord;
}

bool ReadBinaryRecord(const std::string& path, CPropertyTable& table, IReadHooks& hooks)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        hooks.ReportFileError(path, std::strerror(error != 0 ? error : EIO));
        return false;
    }
    CFileInput file(fd);
    return ReadBinaryRecord(file, {}, path, table, hooks) == ERecordResult::Read;
}

bool ReadBinaryRecord(std::string_view bytes, CPropertyTable& table)
{
    CByteSource source(bytes);
    return WalkBinaryRecord(source, table);
}
