#include "collection/GameReader.h"

#include "cache/FileStatus.h"
#include "collection/FileInput.h"
#include "collection/ValueLexer.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>

namespace {

constexpr int kBinaryMark = 6;
constexpr int kEnd = CTextStream::kEnd;

enum class ENodeEnd {
    Read,
    NotARecord,
    TooLarge,
    // Properties right after "(" turned out not to be a root node: the
    // record is read the usual way instead.
    NotBare,
};

// Reads the properties of the root node from first, at an identifier
// position, to the ";" that ends the node; past the position limit the node
// is too large. A bare node (properties right after the "(" of the tree,
// with no ";" before them) is one only when it ends in a ";" before any "("
// or ")" at an identifier position, before the end of the input and within
// the limit; else it is NotBare.
ENodeEnd ReadRootNode(CTextStream& stream, int first, CPropertyTable& table, std::uint64_t limit, bool bare)
{
    const ENodeEnd tooLarge = bare ? ENodeEnd::NotBare : ENodeEnd::TooLarge;
    const ENodeEnd cutShort = bare ? ENodeEnd::NotBare : ENodeEnd::NotARecord;
    const auto isParen = [bare](int c) { return bare && (c == '(' || c == ')'); };
    std::string value;
    int look = first;
    // Moves to the next byte; false when the node ends there, with stopped
    // saying how: the input ended, or (when limited) the node grew too large.
    ENodeEnd stopped = ENodeEnd::Read;
    const auto advance = [&](bool limited) {
        stream.Get();
        look = stream.Peek();
        if (look == kEnd) {
            stopped = cutShort;
            return false;
        }
        if (limited && stream.Position() > limit) {
            stopped = tooLarge;
            return false;
        }
        return true;
    };
    for (;;) {
        // Identifier: its first two uppercase letters; everything else up to
        // them (the "]" of the last value, white space, lowercase letters)
        // is passed over.
        char id[kMaxIdLetters];
        std::size_t letters = 0;
        while (look != ';' && look != '[' && letters < kMaxIdLetters) {
            if (isParen(look))
                return ENodeEnd::NotBare;
            if (IsIdLetter(look))
                id[letters++] = static_cast<char>(look);
            stream.Get();
            look = stream.Peek();
            if (look == kEnd) {
                // A record may consist of its root node alone: the input
                // ending before a new identifier has begun completes the
                // node. An identifier cut short by the end does not.
                if (bare)
                    return ENodeEnd::NotBare;
                return letters == 0 ? ENodeEnd::Read : ENodeEnd::NotARecord;
            }
            if (stream.Position() > limit)
                return tooLarge;
        }
        if (look == ';')
            return ENodeEnd::Read;

        // Passes over the rest of a longer identifier and its "[".
        while (look != '[') {
            if (isParen(look))
                return ENodeEnd::NotBare;
            if (!advance(true))
                return stopped;
        }
        if (!advance(false))
            return stopped;

        value.clear();
        while (look != ']') {
            if (look == '\\' && !advance(false))
                return stopped;
            value.push_back(static_cast<char>(look));
            if (!advance(true))
                return stopped;
        }
        table.Set(std::string_view(id, letters), value);
        // The closing "]" stays the look-ahead; the identifier loop passes it.
    }
}

ERecordResult ResultOf(ENodeEnd end)
{
    switch (end) {
    case ENodeEnd::Read:
        return ERecordResult::Read;
    case ENodeEnd::TooLarge:
        return ERecordResult::TooLarge;
    default:
        return ERecordResult::NotARecord;
    }
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

bool ReadGameFileContents(const std::string& path, CPropertyTable& table, IReadHooks& hooks, SFileStatus* status)
{
    // Only regular files are game files; CFileInput refuses the others. The
    // non-blocking open keeps a pipe without writer from hanging in open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
        binary = stream.Peek() == kBinaryMark;
        result = binary ? ReadBinaryRecord(file, stream.Unconsumed(), path, table, hooks)
                        : ReadTextRecord(stream, table, hooks.MaxRecordBytes());
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

int SkipPast(CTextStream& stream, int ch)
{
    for (;;) {
        const int c = stream.Get();
        if (c == kEnd)
            return kEnd;
        if (c == ch)
            return stream.Peek();
    }
}

bool ReadTextRecord(CTextStream& stream, CPropertyTable& table)
{
    return ReadTextRecord(stream, table, kMaxRecordBytes) == ERecordResult::Read;
}

ERecordResult ReadTextRecord(CTextStream& stream, CPropertyTable& table, std::uint64_t maxRootBytes)
{
    if (SkipPast(stream, '(') == kEnd)
        return ERecordResult::NotARecord;
    const std::uint64_t afterParen = stream.Position();
    int c = kEnd;
    do {
        c = stream.Get();
    } while (c != kEnd && c != '[' && c != ';');
    if (c == kEnd)
        return ERecordResult::NotARecord;

    int look = kEnd;
    if (c == '[') {
        // Some servers write the game information right after the "(",
        // without the ";" of the root node: (TE[...]PB[...];B[qd]. Read so
        // when it ends like a root node; anything else (a "(" or ")" at an
        // identifier position, as in (CA[UTF-8])(;FF[4]...)) is read as
        // always, with everything before the first ";" passed over.
        stream.Rewind(afterParen);
        CPropertyTable bare;
        if (ReadRootNode(stream, stream.Peek(), bare, afterParen + maxRootBytes, true) == ENodeEnd::Read) {
            for (const CPropertyTable::Item& item : bare.Items())
                table.Set(item.first, item.second);
            return ERecordResult::Read;
        }
        stream.Rewind(afterParen);
        look = SkipPast(stream, ';');
    } else {
        look = stream.Peek();
    }
    if (look == kEnd)
        return ERecordResult::NotARecord;
    if (look == ';' || look == '(')
        return ERecordResult::Read;
    return ResultOf(ReadRootNode(stream, look, table, stream.Position() + maxRootBytes, false));
}
