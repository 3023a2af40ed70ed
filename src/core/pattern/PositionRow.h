#pragma once

#include "reader/GameRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a game's main line did to its board, as the search needs it: one
// 16-bit unit per change, in the order they happen. The low 12 bits are a
// point (y * width + x), the high 4 bits say what happened there:
enum class EPositionOp : std::uint8_t {
    BlackMove = 0,  // a regular move: the next position, a stone here
    WhiteMove = 1,  //
    OtherMove = 2,  // a pass or a skipped move: the next position, no change
    Capture = 3,    // the stone here is taken by the move before
    SetupEmpty = 4, // a setup node empties the point from this position on
    SetupBlack = 5,
    SetupWhite = 6,
};
constexpr int kPositionOpCount = 7;

inline std::uint16_t PositionUnit(EPositionOp op, int point)
{
    return static_cast<std::uint16_t>((static_cast<int>(op) << 12) | point);
}
inline EPositionOp UnitOp(std::uint16_t unit)
{
    return static_cast<EPositionOp>(unit >> 12);
}
inline int UnitPoint(std::uint16_t unit)
{
    return unit & 0xfff;
}
inline bool UnitIsMove(std::uint16_t unit)
{
    return UnitOp(unit) <= EPositionOp::OtherMove;
}

struct SPositionRow
{
    int width = SGameRecord::kDefaultSize;
    int height = SGameRecord::kDefaultSize;
    std::vector<std::uint16_t> units;
};

// The main line played as the preview plays it: setup of the root, then
// every move and the setup of its node; captures and suicide taken off;
// a move onto a taken point or off the board skipped but counted.
SPositionRow PlayPositionRow(const SGameRecord& record);

// The stored form, which the header cache keeps beside a game's header row:
//   byte 0         format version (1)
//   bytes 1, 2     board width and height, 1 to 52
//   varint         number of units (7 bits a byte, low first)
//   2 bytes each   the units, low byte first
//   4 bytes        the low half of the FNV-1a hash of all bytes before
std::string BuildPositionRow(const SGameRecord& record);
std::string EncodePositionRow(const SPositionRow& row);
// Nothing for a row that is damaged in any way: wrong version, lengths or
// hash, or units that could not have come from playing a game (a move onto
// a stone, a capture of an empty point). Such a row is built again.
std::optional<SPositionRow> ParsePositionRow(std::string_view bytes);
