#pragma once

#include "qtcore/DisplayDecoder.h"

#include <string>
#include <string_view>
#include <vector>

class CGameEntry;
struct CReportRow;

// The texts of a record that choose its charset: every value of its root
// node, so the choice does not depend on which columns are shown.
std::vector<std::string_view> RecordTexts(const CGameEntry& entry);

// The CA value of the record, or empty.
std::string_view RecordCharset(const CGameEntry& entry);

// The folder of a file's path (without the last separator), or empty.
std::string_view FolderOf(std::string_view path);

// Fills row.shown: column 0 (a path or file name) as UTF-8 with a byte that
// is not UTF-8 shown as its Latin-1 character, the other cells by the one
// charset chosen for the record. Without an entry the cells themselves
// choose; the record also counts towards its folder's charset. Gives the
// rule that chose. The file name is only shown: the row's key keeps the bytes that
// name the file, so the name need not decode back to them, and a Latin-1
// name ("Jos\xE9.sgf") reads as it was meant instead of as U+FFFD, which
// would also make names that differ in such bytes look alike.
CDisplayDecoder::ERule DecodeRowForDisplay(CReportRow& row, const CGameEntry* entry, CDisplayDecoder& decoder);

// The display text as the row keeps it.
QString ShownToQString(std::u16string_view shown);
