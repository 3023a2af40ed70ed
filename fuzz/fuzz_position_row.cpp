#include "pattern/PatternSearch.h"
#include "pattern/PositionRow.h"

#include "util/Fnv1a.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void SearchRow(const SPositionRow& row)
{
    if (row.width != row.height)
        return;
    CPositionIndex index;
    index.Add(row, EStone::Black);
    const SPatternParse corner = ParsePattern("aa:cc", "x.*/.X./*oO", row.width);
    if (corner.pattern)
        SearchPattern(index, *corner.pattern, 1);
    SPattern whole;
    whole.boardSize = row.width;
    whole.width = whole.height = row.width;
    whole.signs.assign(static_cast<std::size_t>(row.width * row.width), '*');
    whole.signs[0] = 'X';
    SearchPattern(index, whole, 1);
}

} // namespace

// A stored index row is refused when damaged, and what is read is what a
// row written again holds. The same bytes with their hash made right reach
// the checks on the units themselves.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const std::optional<SPositionRow> row = ParsePositionRow(bytes)) {
        if (EncodePositionRow(*row) != bytes)
            __builtin_trap();
        SearchRow(*row);
    }
    if (size < 4)
        return 0;
    std::string rehashed(bytes.substr(0, size - 4));
    const auto hash = static_cast<std::uint32_t>(Fnv1a(kFnv1aStart, rehashed));
    for (int i = 0; i < 4; ++i)
        rehashed.push_back(static_cast<char>((hash >> (8 * i)) & 0xff));
    if (const std::optional<SPositionRow> row = ParsePositionRow(rehashed)) {
        if (EncodePositionRow(*row) != rehashed)
            __builtin_trap();
        SearchRow(*row);
    }
    return 0;
}
