#pragma once

#include "report/RowFilter.h"
#include "report/ShownTexts.h"

#include <QString>

#include <string>
#include <vector>

class CDisplayDecoder;
class CGameEntry;
class ISettingsStore;

// The texts the quick filter compares: what the list shows, decoded from the
// cell bytes and case-folded, as UTF-8. The window and the command-line tool
// both match through these, so they keep the same rows.
std::string FoldedRowText(const std::vector<std::string>& cells);
// The same from texts already decoded for display.
std::string FoldedShownText(const CShownTexts& shown);
// Folds UTF-8 text as the filter compares it.
std::string FoldedUtf8(std::string_view text);
CRowFilter MakeRowFilter(const QString& typed);
// The same, joining the names the user's aliases in store join.
CRowFilter MakeRowFilter(const QString& typed, const ISettingsStore& store);

// Adds to text the record's fields the filter looks in that it lacks yet,
// decoded by the charset the record's texts choose and folded. Without an
// entry they are absent. $Winner and $Loser are the derived values. folder:
// the folder of the record's file, which the charset may be learnt from.
void AddSearchFields(CSearchText& text, const CRowFilter& filter, const CGameEntry* entry, const ISettingsStore& store,
                     CDisplayDecoder& decoder, std::string_view folder = {});
