#include "game/GameTimeline.h"
#include "reader/GameRecordReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SGameRecord record = ReadGameRecordBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    // Every move and every setup value takes input bytes: nothing is made
    // out of nothing, and setup stays on the board.
    if (record.moves.size() > size || record.setup.size() > size)
        __builtin_trap();
    if (record.width < 1 || record.width > SGameRecord::kMaxSize || record.height < 1 ||
        record.height > SGameRecord::kMaxSize)
        __builtin_trap();
    for (const SSetupRect& rect : record.setup) {
        if (rect.left > rect.right || rect.top > rect.bottom || rect.right >= record.width ||
            rect.bottom >= record.height)
            __builtin_trap();
    }
    const CGameTimeline timeline(record);
    // The end, the start and a position between, reached from a copy.
    const int count = timeline.PlayedCount();
    for (int n : {count, 0, count / 2 + 1}) {
        const SGamePosition position = timeline.At(n);
        if (position.moveNumber > count || position.irregular > position.moveNumber)
            __builtin_trap();
    }
    return 0;
}
