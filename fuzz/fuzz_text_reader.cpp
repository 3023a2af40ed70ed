#include "reader/GameReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CTextStream stream(std::string_view(reinterpret_cast<const char*>(data), size));
    CPropertyTable table;
    ReadTextRecord(stream, table);
    // Identifiers are at most two uppercase letters, whatever the input.
    for (const CPropertyTable::Item& item : table.Items()) {
        if (item.first.size() > 2)
            __builtin_trap();
        for (char c : item.first) {
            if (c < 'A' || c > 'Z')
                __builtin_trap();
        }
    }
    return 0;
}
