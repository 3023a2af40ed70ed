#include "reader/GameReader.h"

#include "files/FileInput.h"
#include "files/FileStatus.h"
#include "reader/BinaryReader.h"
#include "reader/GameFileForm.h"
#include "reader/GameRecordReader.h"
#include "reader/RootNode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

ERecordResult ResultOf(ENodeEnd end)
{
    switch (end) {
    case ENodeEnd::Semicolon:
    case ENodeEnd::Paren:
    case ENodeEnd::End:
        return ERecordResult::Read;
    case ENodeEnd::TooLarge:
        return ERecordResult::TooLarge;
    case ENodeEnd::IdentifierCut:
    case ENodeEnd::ValueCutOff:
        break;
    }
    return ERecordResult::NotARecord;
}

std::string SystemText(int error)
{
    return std::strerror(error != 0 ? error : EIO);
}

} // namespace

std::string RecordLimitText(std::uint64_t bytes)
{
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

bool ReadGameFile(const std::string& path, CPropertyTable& table, IReadHooks& hooks)
{
    hooks.BeforeRead();
    return ReadGameFileContents(path, table, hooks);
}

namespace {

// Keeps the raw bytes of a text record whose root node was read from file,
// up to one past maxBytes (so a larger one stays too large for the reader),
// for a file the stream's first read did not bring whole: it is read again,
// from the system's cache.
void KeepText(CFileInput& file, std::uint64_t maxBytes, std::string& text)
{
    text.clear();
    file.Seek(0);
    const std::uint64_t most = maxBytes < kMaxRecordBytes ? maxBytes + 1 : kMaxRecordBytes + 1;
    char chunk[16384];
    while (text.size() < most) {
        const long got =
            file.Read(chunk, static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, most - text.size())));
        if (got <= 0)
            break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
}

} // namespace

SGameRecord MainLineOf(const SGameFileBytes& file, const CPropertyTable& table, std::uint64_t maxBytes)
{
    SGameRecord record;
    try {
        if (file.binary) {
            record.problem = EGameProblem::BinaryForm;
            record.root = table;
        } else {
            CTextStream stream(file.text);
            record = ReadGameRecord(stream, {}, maxBytes);
        }
    } catch (const std::bad_alloc&) {
        // A record too large for the memory left gives no moves.
        record = SGameRecord{};
        record.problem = EGameProblem::TooLarge;
    }
    return record;
}

bool ReadGameFileContents(const std::string& path, CPropertyTable& table, IReadHooks& hooks, SFileStatus* status,
                          SGameFileBytes* whole)
{
    // Only regular files are game files; CFileInput refuses the others.
    const int fd = OpenGameFile(path);
    if (fd < 0) {
        const int error = errno;
        hooks.ReportNotRead(path, SystemText(error));
        return false;
    }
    CFileInput file(fd);
    if (status && !StatOpenFile(fd, *status))
        *status = {};
    bool binary = false;
    ERecordResult result = ERecordResult::NotARecord;
    try {
        // Read as bytes: CTextStream does the text-mode translation itself.
        CTextStream stream(file);
        binary = StartsBinaryForm(stream);
        result = binary ? ReadBinaryRecord(file, stream.Unconsumed(), path, table, hooks)
                        : ReadTextRecord(stream, table, hooks.MaxRecordBytes());
        std::string_view held;
        if (whole && result == ERecordResult::Read && !binary) {
            if (stream.WholeFileHeld(held) && held.size() <= hooks.MaxRecordBytes())
                whole->text.assign(held);
            else
                KeepText(file, hooks.MaxRecordBytes(), whole->text);
        }
    } catch (const std::bad_alloc&) {
        // One file too large for the memory left fails alone; the files
        // after it, and what was read before, are not lost with it.
        hooks.ReportNotRead(path, "out of memory");
        return false;
    }
    if (file.Refused()) {
        hooks.ReportNotRead(path, "not a regular file");
        return false;
    }
    switch (result) {
    case ERecordResult::Read:
        if (whole)
            whole->binary = binary;
        return true;
    case ERecordResult::TooLarge:
        hooks.ReportNotRead(path, std::string(binary ? "binary record" : "root node") + " larger than " +
                                      RecordLimitText(hooks.MaxRecordBytes()));
        return false;
    case ERecordResult::FileError:
        hooks.ReportNotRead(path, SystemText(file.Error()));
        return false;
    case ERecordResult::NotARecord:
        // A read error (a folder named as a file) ends the text like its end.
        hooks.ReportNotRead(path, file.Error() != 0 ? SystemText(file.Error()) : std::string("not a game record"));
        return false;
    }
    return false;
}

bool ReadTextRecord(CTextStream& stream, CPropertyTable& table)
{
    return ReadTextRecord(stream, table, kMaxRecordBytes) == ERecordResult::Read;
}

ERecordResult ReadTextRecord(CTextStream& stream, CPropertyTable& table, std::uint64_t maxRootBytes)
{
    CRecordTokenizer tokens(stream);
    CPropertyTable bare;
    switch (FindRootNode(tokens, maxRootBytes, bare)) {
    case ERootStart::None:
        return ERecordResult::NotARecord;
    case ERootStart::Bare:
        // Read whole already: its properties are the root's.
        for (const CPropertyTable::Item& item : bare.Items())
            table.Set(item.first, item.second);
        return ERecordResult::Read;
    case ERootStart::AfterNode:
        break;
    }
    tokens.SetLimit(RootNodeLimit(stream.Position(), maxRootBytes));
    return ResultOf(ReadNodeProperties(tokens, table));
}
