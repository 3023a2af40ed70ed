#pragma once

#include "reader/PropertyTable.h"
#include "reader/ReadHooks.h"
#include "reader/RecordResult.h"
#include "reader/TextStream.h"

#include <cstdint>
#include <string>

struct SFileStatus;
struct SGameRecord;

// A game file as it was read for its root node, kept for a read of its main
// line later, perhaps on another thread.
struct SGameFileBytes
{
    bool binary = false;
    // The bytes of a text record, up to one past the limit it was read with.
    std::string text;
};

// Reads the game-information properties of the game file at path into table.
// Calls hooks.BeforeRead() first. The first byte decides the form: 6 is the
// binary form, anything else a text record. False when the file cannot be
// opened or holds no readable record, when its record is larger than
// hooks.MaxRecordBytes(), or when the memory runs out while it is read; the
// reason goes to hooks.ReportNotRead. The file is closed in every case.
bool ReadGameFile(const std::string& path, CPropertyTable& table, IReadHooks& hooks = DefaultReadHooks());
// The same without calling hooks.BeforeRead(), for a caller that has run it.
// status, when given, gets the file's status as it was opened (before the
// read), or is left as it was when the file cannot be opened. whole, when
// given, gets the file's bytes from the same open file, for MainLineOf; the
// root node, the result and every reason stay what they are without it.
// When the function returns false, what whole holds means nothing.
bool ReadGameFileContents(const std::string& path, CPropertyTable& table, IReadHooks& hooks,
                          SFileStatus* status = nullptr, SGameFileBytes* whole = nullptr);
// The main line of a file read so, by the whole-game reader (whose root node
// is the one table was read from); a binary record gives its game
// information, table, only.
SGameRecord MainLineOf(const SGameFileBytes& file, const CPropertyTable& table,
                       std::uint64_t maxBytes = kMaxRecordBytes);

// Reads the root node of an MGT/SGF text record from the start of stream:
// the first node's properties, read by the tokenizer the game view reads
// whole records with, so both give the same root properties.
bool ReadTextRecord(CTextStream& stream, CPropertyTable& table);
// The same, failing with TooLarge once the root node passes maxRootBytes.
ERecordResult ReadTextRecord(CTextStream& stream, CPropertyTable& table, std::uint64_t maxRootBytes);

// "64 MiB" for a limit of whole mebibytes, else the number of bytes.
std::string RecordLimitText(std::uint64_t bytes);
