#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

class QMimeData;

// The local files a drag carries, in its order, named as the file system
// names them; empty when it carries none.
std::vector<std::string> DroppedLocalFiles(const QMimeData* mime);

// A drag that carries local files is a file drop, even when it offers plain
// text too; plain text alone is game text.
bool IsGameTextDrag(const QMimeData* mime);

// The plain text of the drag as the source delivered it, bytes unchanged.
QByteArray DroppedTextBytes(const QMimeData* mime);

// Writes bytes to path as they are. The bytes go to a temporary file in the
// same folder that replaces path only when all of them are written, so a
// failure leaves an existing file as it was. On failure error says why.
bool WriteGameText(const QString& path, const QByteArray& bytes, QString& error);
