#pragma once

#include "reader/TextStream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The pieces of a text record, as both the list and the game view read them.
enum class ERecordToken {
    Open,        // "(" at an identifier position
    Close,       // ")"
    Semicolon,   // ";", the start of a node
    Identifier,  // a run of bytes with a letter in it, before a "[" or a token
    Value,       // the text between "[" and "]"
    End,         // the input ended (or a byte 0x1A)
    ValueCutOff, // the input ended inside a value
    TooLarge,    // a byte at or past the limit was reached
};

// Splits a text record into tokens, one at a time, over a text stream. The
// rules are lenient as old files need them: an identifier keeps its first
// two uppercase letters ("PlayerBlack" is PB, "SiZe" is SZ) and every other
// byte before the "[" is passed over; a backslash in a value takes the next
// byte literally (a "]" or a backslash too). A run of blanks, digits or
// punctuation between a "]" and a "[" is no identifier: the value after it
// is one more value of the property before.
//
// Every byte is checked against the limit before it is taken, so the bytes
// a consumer reads are bounded in this one place: the list sets the root
// node's limit, the game view the whole record's (it counts setup points
// itself, as it reads their values).
class CRecordTokenizer
{
public:
    static constexpr std::size_t kMaxIdLetters = 2;
    static constexpr std::uint64_t kNoLimit = ~std::uint64_t{0};

    explicit CRecordTokenizer(CTextStream& stream, std::uint64_t limit = kNoLimit) : m_stream(stream), m_limit(limit) {}

    CRecordTokenizer(const CRecordTokenizer&) = delete;
    CRecordTokenizer& operator=(const CRecordTokenizer&) = delete;

    ERecordToken Next();

    // The identifier the last Identifier token gave: its first two
    // uppercase letters, empty when it has lowercase letters only.
    std::string_view Id() const { return {m_id, m_idLetters}; }
    // The text the last Value token gave, escapes removed.
    const std::string& Value() const { return m_value; }

    // Reaching the byte at position limit (or past it) gives TooLarge.
    void SetLimit(std::uint64_t limit) { m_limit = limit; }
    CTextStream& Stream() { return m_stream; }

private:
    ERecordToken ReadValue();
    bool PastLimit() const { return m_stream.Position() >= m_limit; }

    CTextStream& m_stream;
    std::uint64_t m_limit;
    char m_id[kMaxIdLetters] = {};
    std::size_t m_idLetters = 0;
    std::string m_value;
};

// Consumes input up to and including the first ch; returns the character
// after it without consuming it, or kEnd. Passes over anything, with no
// limit: only the bytes before the game tree and its first node go this way.
int SkipPast(CTextStream& stream, int ch);
