#pragma once

#include "report/RowFilter.h"
#include "report/ShownTexts.h"

#include <QString>

#include <string>
#include <vector>

// The texts the quick filter compares: what the list shows, decoded from the
// cell bytes and case-folded, as UTF-8. The window and the command-line tool
// both match through these, so they keep the same rows.
std::string FoldedRowText(const std::vector<std::string>& cells);
// The same from texts already decoded for display.
std::string FoldedShownText(const CShownTexts& shown);
CRowFilter MakeRowFilter(const QString& typed);
