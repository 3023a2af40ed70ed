#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

// Cell texts and paths stay bytes; only what is shown is decoded. UTF-8,
// where a byte that starts no valid UTF-8 sequence is shown as its Latin-1
// character, so nothing is ever dropped from the display.
QString BytesToDisplayText(std::string_view bytes);

// A local path as the core keeps it: the file system's bytes.
std::string PathToBytes(const QString& path);
QString BytesToPath(std::string_view bytes);
