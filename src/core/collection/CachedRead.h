#pragma once

#include <string>

class CGameEntry;
class CHeaderCache;
class CPositionRowMaker;
class IReadHooks;

// Reads the root node of the game file at path into entry, keeping the
// file's status in the entry: runs hooks.BeforeRead() first as every read
// does, takes the status, and with a cache whose row for path was written
// with that status takes the values from the row; otherwise reads the file
// and, with a cache, replaces its row. False when the file cannot be read.
// With trustRows false the file is read whatever its row says, and the row
// is written anew: a file changed without a new status (through a shared
// memory mapping) has a row no status can tell is stale. With a cache and
// rows, the bytes of a file that is read are kept from its one read: the
// root node gives the entry's values as without them, and rows makes the
// position row stored beside them from its main line. A file taken from its
// row is not read for its position row (a search completes what is missing).
bool ReadGameEntry(const std::string& path, CGameEntry& entry, IReadHooks& hooks, CHeaderCache* cache,
                   bool trustRows = true, CPositionRowMaker* rows = nullptr);
