#pragma once

#include <QString>
#include <QStringList>

// QSettings reads its files as it is made, with a plain open: a pipe in the
// place of a settings file would block the program before its first line,
// and a device would feed it for ever. These ask first, without opening.

// The files the user's own store (organisation "Pellmore", application
// "Varnex") reads on this platform: the program's file and the
// organisation's fallback file. Empty where the store is no file.
QStringList UserSettingsFiles();

// The first of paths that exists and is not a regular file (a link is
// followed); empty when there is none.
QString FirstIrregularFile(const QStringList& paths);
