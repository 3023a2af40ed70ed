#pragma once

#include "reader/TextStream.h"

#include <string>
#include <string_view>

// The first byte of a game file chooses its form: this byte starts the
// binary form, anything else a text record.
inline constexpr int kBinaryMark = 6;

inline bool StartsBinaryForm(CTextStream& stream)
{
    return stream.Peek() == kBinaryMark;
}

inline bool StartsBinaryForm(std::string_view bytes)
{
    return !bytes.empty() && static_cast<unsigned char>(bytes[0]) == kBinaryMark;
}

// Opens the game file at path for reading: a descriptor, or -1 with errno
// set. The open does not block, so a pipe without writer named as a game
// file does not hang in it; CFileInput then refuses anything but a regular
// file.
int OpenGameFile(const std::string& path);
