#include "collection/GameReader.h"

#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

constexpr int kBinaryMark = 6;
constexpr std::size_t kMaxIdLetters = 2;

bool IsUpperAscii(int c)
{
    return c >= 'A' && c <= 'Z';
}
} // namespace

bool ReadGameFile(const std::string& path, CPropertyTable& table, IReadHooks& hooks)
{
    hooks.BeforeRead();

    // Only regular files are game files. A path naming a pipe or a device
    // (a dropped special file, a hand-made collection) would otherwise block
    // the program for ever, in open or in the first read; the non-blocking
    // open keeps a pipe without writer from hanging before the check.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // Opened as bytes: CTextStream does the text-mode translation itself.
    FilePtr file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
        return false;
    }
    // CTextStream reads whole 4 KiB chunks; a stdio buffer under it would
    // only add a copy and an allocation per file.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    CTextStream stream(file.get());
    if (stream.Peek() == kBinaryMark)
        return ReadBinaryRecord(file.get(), path, table, hooks);
    return ReadTextRecord(stream, table);
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
            if (IsUpperAscii(look))
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

        value.clear();
        while (look != ']') {
            if (look == '\\') {
                stream.Get();
                look = stream.Peek();
                if (look == kEnd)
                    return false;
            }
            value.push_back(static_cast<char>(look));
            stream.Get();
            look = stream.Peek();
            if (look == kEnd)
                return false;
        }
        table.Set(std::string_view(id, letters), value);
        // The closing "]" stays the look-ahead; the identifier loop passes it.
    }
}
