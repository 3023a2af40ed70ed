#pragma once

#include "collection/PropertyTable.h"
#include "collection/ReadHooks.h"
#include "collection/TextStream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CByteSource;
struct SFileStatus;
class CFileInput;

// Reads the game-information properties of the game file at path into table.
// Calls hooks.BeforeRead() first. The first byte decides the form: 6 is the
// binary form, anything else a text record. False when the file cannot be
// opened or holds no readable record, when its record is larger than
// hooks.MaxRecordBytes(), or when the memory runs out while it is read; the
// reason goes to hooks.ReportNotRead. The file is closed in every case.
bool ReadGameFile(const std::string& path, CPropertyTable& table, IReadHooks& hooks = DefaultReadHooks());
// The same without calling hooks.BeforeRead(), for a caller that has run it.
// status, when given, gets the file's status as it was opened (before the
// read), or is left as it was when the file cannot be opened.
bool ReadGameFileContents(const std::string& path, CPropertyTable& table, IReadHooks& hooks,
                          SFileStatus* status = nullptr);

// How reading one record ended.
enum class ERecordResult {
    Read,
    NotARecord,
    TooLarge,  // larger than the limit it was read with
    FileError, // reported to the hooks already
};

// Reads the root node of an MGT/SGF text record from the start of stream.
bool ReadTextRecord(CTextStream& stream, CPropertyTable& table);
// The same, failing with TooLarge once the root node passes maxRootBytes.
ERecordResult ReadTextRecord(CTextStream& stream, CPropertyTable& table, std::uint64_t maxRootBytes);

// Consumes input up to and including the first ch; returns the character
// after it without consuming it, or kEnd.
int SkipPast(CTextStream& stream, int ch);

// Reads the binary form of a game record from the file at path. A file that
// cannot be opened, read or positioned goes to hooks.ReportFileError once.
bool ReadBinaryRecord(const std::string& path, CPropertyTable& table, IReadHooks& hooks = DefaultReadHooks());

// The same over bytes in memory (the whole file, format mark included).
// Pass a std::string_view: a std::string converts better to the path form.
bool ReadBinaryRecord(std::string_view bytes, CPropertyTable& table);

// The binary form from a file already open whose first bytes, start, have
// been read already; the rest is read from file, at most
// hooks.MaxRecordBytes() in all. path only names the file in an error report.
ERecordResult ReadBinaryRecord(CFileInput& file, std::string_view start, const std::string& path,
                               CPropertyTable& table, IReadHooks& hooks);

// One short string: a length byte and that many bytes; length 0 is the empty
// string. Nothing only when the input stops before the string is whole.
std::optional<std::string> ReadShortString(CByteSource& file);

// "64 MiB" for a limit of whole mebibytes, else the number of bytes.
std::string RecordLimitText(std::uint64_t bytes);
