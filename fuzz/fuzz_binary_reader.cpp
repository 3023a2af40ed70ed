#include "reader/BinaryReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CPropertyTable table;
    ReadBinaryRecord(std::string_view(reinterpret_cast<const char*>(data), size), table);
    // Kept values come from short strings cut at their first zero byte.
    for (const CPropertyTable::Item& item : table.Items()) {
        if (item.first.size() > 2 || item.second.size() > 255 || item.second.find('\0') != std::string::npos)
            __builtin_trap();
    }
    return 0;
}
