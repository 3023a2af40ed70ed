#pragma once

#include <string>

class CGameEntry;
class CHeaderCache;
class IReadHooks;

// Reads the root node of the game file at path into entry, keeping the
// file's status in the entry: runs hooks.BeforeRead() first as every read
// does, takes the status, and with a cache whose row for path was written
// with that status takes the values from the row; otherwise reads the file
// and, with a cache, replaces its row. False when the file cannot be read.
// With trustRows false the file is read whatever its row says, and the row
// is written anew: a file changed without a new status (through a shared
// memory mapping) has a row no status can tell is stale.
bool ReadGameEntry(const std::string& path, CGameEntry& entry, IReadHooks& hooks, CHeaderCache* cache,
                   bool trustRows = true);
