#pragma once

#include "settings/LogFontRecord.h"

#include <QFont>

// The stored font description and Qt's font: height in pixels (a negative
// height is the em height, a positive one the cell height), weight on the
// same 100-900 scale, italic, underline, strike-out and face name.
QFont FontFromRecord(const CLogFontRecord& record, const QFont& base = QFont());
CLogFontRecord RecordFromFont(const QFont& font);
