#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

// Reads a game file by its descriptor, without a stdio stream in between,
// and refuses what is not a regular file: a pipe or a device named as a game
// file would otherwise block the program or feed it for ever.
//
// Reading a catalogue of small files is bound by system calls, so the checks
// ride on the reads: each read says where it reads from (pread), which a pipe
// or a terminal refuses; the kind of file is asked (fstat) only when a read
// brings more than one short first buffer, the only way a seekable device
// such as /dev/zero can go on. Once the kind is known, its size lets a short
// read that reaches it stand for the end, so a larger file needs no last read
// that only returns nothing. The size seen then is also where the file ends
// for this input: a file that another program keeps writing is not followed.
// A small regular file so costs one open, one read and one close. Owns the
// descriptor: it is closed when the input goes.
class CFileInput
{
public:
    explicit CFileInput(int fd) : m_fd(fd) {}
    ~CFileInput();

    CFileInput(const CFileInput&) = delete;
    CFileInput& operator=(const CFileInput&) = delete;

    // Up to count bytes into out: how many were read, 0 at the end of the
    // file, -1 on a read error (Error() says which) or when the file turned
    // out not to be a regular file. Interrupted reads are resumed.
    long Read(void* out, std::size_t count);

    // The next Read starts at offset (a reader that looked ahead goes back).
    void Seek(std::uint64_t offset);

    // The file is not a regular file: whatever was read from it is no game.
    bool Refused() const { return m_refused; }
    // The errno of the last failed read, or 0.
    int Error() const { return m_error; }

private:
    bool CheckKind();

    static constexpr std::uint64_t kUnknownSize = std::numeric_limits<std::uint64_t>::max();

    int m_fd;
    std::uint64_t m_offset = 0;
    std::uint64_t m_size = kUnknownSize;
    int m_error = 0;
    bool m_kindKnown = false;
    bool m_refused = false;
    bool m_ended = false;
};
