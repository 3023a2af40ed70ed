#pragma once

#include "reader/PropertyTable.h"
#include "reader/ReadHooks.h"
#include "reader/RecordResult.h"

#include <optional>
#include <string>
#include <string_view>

class CByteSource;
class CFileInput;

// Reads the binary form of a game record from the file at path. A file that
// cannot be opened, read or positioned goes to hooks.ReportFileError once.
bool ReadBinaryRecord(const std::string& path, CPropertyTable& table, IReadHooks& hooks = DefaultReadHooks());

// The same over bytes in memory (the whole file, format mark included).
// Pass a std::string_view: a std::string converts better to the path form.
bool ReadBinaryRecord(std::string_view bytes, CPropertyTable& table);

// The binary form from a file already open whose first bytes, start, have
// been read already; the rest is read from file, at most
// hooks.MaxRecordBytes() in all. path only names the file in an error report.
ERecordResult ReadBinaryRecord(CFileInput& file, std::string_view start, const std::string& path, CPropertyTable& table,
                               IReadHooks& hooks);

// One short string: a length byte and that many bytes; length 0 is the empty
// string. Nothing only when the input stops before the string is whole.
std::optional<std::string> ReadShortString(CByteSource& file);
