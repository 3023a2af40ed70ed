#pragma once

#include <QString>

// The string table's texts as the widgets show them. The table is written
// in UTF-8, so that is how every text is decoded, wherever it is shown.
QString ResText(int id);
// The status-bar prompt of command id (before the line break) and its tool
// tip (after it); both empty for a command without a string.
QString ResPrompt(int id);
QString ResToolTip(int id);
