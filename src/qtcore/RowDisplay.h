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

// Fills row.shown: column 0 (a path or file name) decoded as the file system
// does, the other cells by the one charset chosen for the record, which
// also counts towards its folder's charset. Without an entry the cells
// themselves choose. Gives the rule that chose.
CDisplayDecoder::ERule DecodeRowForDisplay(CReportRow& row, const CGameEntry* entry, CDisplayDecoder& decoder);

// The display text as the row keeps it.
QString ShownToQString(std::u16string_view shown);
