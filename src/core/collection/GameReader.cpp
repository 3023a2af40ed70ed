#include "collection/GameReader.h"

#include "cache/FileStatus.h"
#include "collection/FileInput.h"
#include "collection/ValueLexer.h"

#include <fcntl.h>

namespace {

constexpr int kBinaryMark = 6;
} // namespace

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
    if (fd < 0)
        return false;
    CFileInput file(fd);
    if (status && !StatOpenFile(fd, *status))
        *status = {};
    // Read as bytes: CTextStream does the text-mode translation itself.
    CTextStream stream(file);
    const bool read = stream.Peek() == kBinaryMark ? ReadBinaryRecord(file, stream.Unconsumed(), path, table, hooks)
                                                   : ReadTextRecord(stream, table);
    return read && !file.Refused();
}

int SkipPast(CTextStream& stream, int ch)
{
    for (;;) {
        const int c = stream.Get();
        if (c == CTextStream::kEnd)
            return CTextStream::kEnd;
        if (c == ch)
            return stream.Peek();
    }
}

bool ReadTextRecord(CTextStream& stream, CPropertyTable& table)
{
    constexpr int kEnd = CTextStream::kEnd;

    if (SkipPast(stream, '(') == kEnd)
        return false;
    int look = SkipPast(stream, ';');
    if (look == kEnd)
        return false;
    if (look == ';' || look == '(')
        return true;

    std::string value;
    for (;;) {
        // Identifier: its first two uppercase letters; everything else up to
        // them (the "]" of the last value, white space, lowercase letters)
        // is passed over.
        char id[kMaxIdLetters];
        std::size_t letters = 0;
        while (look != ';' && look != '[' && letters < kMaxIdLetters) {
            if (IsIdLetter(look))
                id[letters++] = static_cast<char>(look);
            stream.Get();
            look = stream.Peek();
            if (look == kEnd) {
                // A record may consist of its root node alone: the input
                // ending before a new identifier has begun completes the
                // node. An identifier cut short by the end does not.
                return letters == 0;
            }
        }
        if (look == ';')
            return true;

        // Passes over the rest of a longer identifier.
        look = SkipPast(stream, '[');
        if (look == kEnd)
            return false;

        if (!ReadValueText(stream, value))
            return false;
        table.Set(std::string_view(id, letters), value);
        // The closing "]" stays the look-ahead; the identifier loop passes it.
        look = stream.Peek();
    }
}
