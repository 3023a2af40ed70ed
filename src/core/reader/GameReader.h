#pragma once

#include "reader/GameRecord.h"
#include "reader/PropertyTable.h"
#include "reader/ReadHooks.h"
#include "reader/RecordResult.h"
#include "reader/TextStream.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SFileStatus;
struct SGameRecord;

// The games of a text record after its first (a file of several game
// trees), read in the same pass as the first: each one's root node, and the
// raw offset of the "(" that starts its tree. A tree without a node (an
// empty "()") is no game; a game whose root node is cut short by the end of
// the file, or is larger than the limit, ends the reading: the games before
// it stay.
struct SMoreGames
{
    std::vector<CPropertyTable> tables;
    std::vector<std::uint64_t> starts;
    // Stops once this many further games are read.
    std::size_t most = static_cast<std::size_t>(-1);
};

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
// more, when given, gets the games after the first.
bool ReadGameFileContents(const std::string& path, CPropertyTable& table, IReadHooks& hooks,
                          SFileStatus* status = nullptr, SGameFileBytes* whole = nullptr, SMoreGames* more = nullptr);
// The main line of a file read so, by the whole-game reader (whose root node
// is the one table was read from); a binary record gives its game
// information, table, only. start is where the game's tree starts (0 for
// the first game, else what SMoreGames gave); a game starting past the bytes
// kept is too large.
SGameRecord MainLineOf(const SGameFileBytes& file, const CPropertyTable& table,
                       std::uint64_t maxBytes = kMaxRecordBytes, std::uint64_t start = 0);

// Reads the root node of an MGT/SGF text record from the start of stream:
// the first node's properties, read by the tokenizer the game view reads
// whole records with, so both give the same root properties.
bool ReadTextRecord(CTextStream& stream, CPropertyTable& table);
// The same, failing with TooLarge once the root node passes maxRootBytes;
// more, when given, gets the games after the first.
ERecordResult ReadTextRecord(CTextStream& stream, CPropertyTable& table, std::uint64_t maxRootBytes,
                             SMoreGames* more = nullptr);

// The game-th game (from 0, in the order the list reads them) of the game
// file at path: game 0 is ReadGameRecordFile(path, stop); a later one is
// found by the list's reader and read by the whole-game reader from where
// its tree starts, within the limit of one record (the file may be larger).
// A game past the last gives NoGameTree.
SGameRecord ReadGameRecordFile(const std::string& path, const StopCheck& stop, std::size_t game);

// Every game of the game file at path, from one read of it: f(game, record)
// for each game in file order, one record at a time (game 0 as
// ReadGameRecordFile reads it). False, and no call, when the file cannot be
// read.
bool ForEachGameRecord(const std::string& path, const std::function<void(std::size_t game, SGameRecord& record)>& f);

// "64 MiB" for a limit of whole mebibytes, else the number of bytes.
std::string RecordLimitText(std::uint64_t bytes);
