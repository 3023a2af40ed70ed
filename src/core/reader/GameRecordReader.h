#pragma once

#include "reader/GameRecord.h"
#include "reader/ReadHooks.h"

#include <cstdint>
#include <string>
#include <string_view>

class CTextStream;

// Reads the main line of the first game tree of a text record from the start
// of stream: the first child at every branch, to the ")" that ends it.
// The record is split by the tokenizer the list reads root nodes with, and
// the root node is found as the list finds it (bytes before the first "("
// and between it and the first ";" ignored, or game information right after
// the "("), so the root properties are the list's. A damaged record keeps what was read up to
// the damage, and problem says why it stops there. A record that runs past
// maxBytes is not read at all (TooLarge): what its moves and setup stones
// would cost stays bounded whatever the input.
SGameRecord ReadGameRecord(CTextStream& stream, const StopCheck& stop = {}, std::uint64_t maxBytes = kMaxRecordBytes);

// The same over the bytes of a whole file: the first byte 6 is the binary
// form, whose game information is read and whose moves are not. More bytes
// than kMaxRecordBytes are no game record (TooLarge).
SGameRecord ReadGameRecordBytes(std::string_view bytes);

// The game file at path, text or binary by its first byte. A file larger
// than kMaxRecordBytes is refused before anything of it is read.
SGameRecord ReadGameRecordFile(const std::string& path, const StopCheck& stop = {});

// The board size a SZ value gives ("19", or "19:13" for 19 columns and 13
// rows); false when it is no size from 1 to 52.
bool ParseBoardSize(std::string_view value, int& width, int& height);
