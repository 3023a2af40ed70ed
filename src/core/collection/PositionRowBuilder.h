#pragma once

#include <functional>
#include <string>

struct SGameRecord;

// Makes the bytes the header cache keeps for a game beside its header row,
// from the game's main line, so a search over the collection reads no game
// file. The document is given one; without one no position rows are made.
// It is called for every file read, a binary record and one cut short
// included (the record's problem says which).
using PositionRowBuilder = std::function<std::string(const SGameRecord& record)>;
