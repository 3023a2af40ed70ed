#pragma once

#include "collection/PropertyTable.h"
#include "collection/ReadHooks.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// Text-mode input with one character of look-ahead: each CR LF pair reads as
// a single LF and the byte 0x1A ends the input. Reads either a memory buffer
// or an open file (buffered, so only the root node's bytes are ever read).
class CTextStream
{
public:
    static constexpr int kEnd = -1;

    explicit CTextStream(std::string_view bytes);
    explicit CTextStream(std::FILE* file);

    // The next character (0..255) without consuming it, or kEnd.
    int Peek();
    // Consumes the next character and returns it, or kEnd.
    int Get();

private:
    bool Fill();

    std::FILE* m_file = nullptr;
    const unsigned char* m_pos = nullptr;
    const unsigned char* m_end = nullptr;
    bool m_ended = false;
    unsigned char m_buffer[4096];
};

// Reads the game-information properties of the game file at path into table.
// Calls hooks.BeforeRead() first. The first byte decides the form: 6 is the
// binary form, anything else a text record.
bool ReadGameFile(const std::string& path, CPropertyTable& table, IReadHooks& hooks = DefaultReadHooks());

// Reads the root node of an MGT/SGF text record from the start of stream.
bool ReadTextRecord(CTextStream& stream, CPropertyTable& table);

// Consumes input up to and including the first ch; returns the character
// after it without consuming it, or kEnd.
int SkipPast(CTextStream& stream, int ch);

// Reads the binary form of a game record from the file at path.
bool ReadBinaryRecord(const std::string& path, CPropertyTable& table, IReadHooks& hooks = DefaultReadHooks());

// The same over bytes in memory (the whole file, format mark included).
bool ReadBinaryRecord(std::string_view bytes, CPropertyTable& table);
