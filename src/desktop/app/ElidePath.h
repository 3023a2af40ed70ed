#pragma once

#include <QString>

// A path a message can show: one longer than maxChars keeps its beginning
// and its end (the file name) with an ellipsis between, so a message box
// never grows wider than the screen for a path of thousands of characters.
inline constexpr qsizetype kMaxShownPath = 120;
QString ElidePath(const QString& path, qsizetype maxChars = kMaxShownPath);
