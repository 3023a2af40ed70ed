#include "pattern/Pattern.h"
#include "pattern/PatternPlacements.h"
#include "pattern/PatternSearch.h"

#include "reader/GameRecordReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The first byte picks the board size (and fixed colours by its top bit),
// then a region and rows, one a line. Whatever is read makes a pattern whose
// placements stand on the board and whose search over a few games ends.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int boardSize = 1 + (data[0] & 0x7f) % SGameRecord::kMaxSize;
    const bool fixed = (data[0] & 0x80) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t newline = text.find('\n');
    const std::string_view region = text.substr(0, newline);
    const std::string_view rows = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    const SPatternParse parse = ParsePattern(region, rows, boardSize, fixed);
    if (parse.pattern.has_value() == !parse.error.empty())
        __builtin_trap();
    const SGameRecord game = ReadGameRecordBytes("(;SZ[19];B[dd];W[pp];B[dc];W[cc];B[bc];W[];B[qq])");
    const SPatternParse fromGame = PatternFromGame(game, region, rows.size() % 9);
    if (fromGame.pattern &&
        fromGame.pattern->signs.size() != static_cast<std::size_t>(fromGame.pattern->width * fromGame.pattern->height))
        __builtin_trap();
    if (!parse.pattern)
        return 0;
    const SPattern& pattern = *parse.pattern;
    if (pattern.signs.size() != static_cast<std::size_t>(pattern.width * pattern.height) ||
        pattern.left + pattern.width > boardSize || pattern.top + pattern.height > boardSize)
        __builtin_trap();
    const std::vector<SPlacement> placements = PatternPlacements(pattern);
    if (placements.empty())
        __builtin_trap();
    for (const SPlacement& p : placements) {
        if (p.left < 0 || p.top < 0 || p.left + p.width > boardSize || p.top + p.height > boardSize ||
            p.signs.size() != pattern.signs.size())
            __builtin_trap();
    }
    const std::vector<SSelfSymmetry> own = PatternSelfSymmetries(pattern);
    if (own.empty() || own[0].symmetry != 0 || own[0].exchanged)
        __builtin_trap();
    CPositionIndex index;
    index.AddGame(game, EStone::Black);
    index.AddGame(ReadGameRecordBytes("(;SZ[" + std::to_string(boardSize) + "]AB[aa]AW[ba];B[bb];W[ab])"),
                  EStone::White);
    const SPatternResult result = SearchPattern(index, pattern, 1);
    for (const SPatternHit& hit : result.hits) {
        if (hit.continuation &&
            !(hit.continuation->x >= pattern.left && hit.continuation->y >= pattern.top &&
              hit.continuation->x < pattern.left + pattern.width && hit.continuation->y < pattern.top + pattern.height))
            __builtin_trap();
    }
    return 0;
}
