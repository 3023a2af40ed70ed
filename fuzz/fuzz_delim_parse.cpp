#include "settings/DelimStringArray.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {
void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// Joining escapes every bar of an item and doubles the backslashes before a
// bar, so every list comes back from its text, except the list of one empty
// item, which joins to the empty text, which is the empty list.
bool SurvivesJoin(const CDelimStringArray& list)
{
    return !(list.size() == 1 && list.front().empty());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // As stored text: every text is the join of its own items.
    CDelimStringArray parsed;
    parsed.Parse(text);
    Check(parsed.size() == (text.empty() ? 0 : CDelimStringArray::CountItems(text)));
    Check(parsed.Join() == text);

    for (std::size_t i = 0; i < parsed.size() && i < 64; ++i) {
        const auto index = static_cast<std::int32_t>(i);
        const std::int32_t found = parsed.Find(parsed[i]);
        Check(parsed[i].empty() ? found == -1 : found >= index && parsed[static_cast<std::size_t>(found)] == parsed[i]);

        const std::int32_t number = parsed.GetInt(index);
        CDelimStringArray copy;
        copy.CopyFrom(parsed);
        copy.SetInt(index, number);
        Check(copy.GetInt(index) == number);
        Check(copy.size() == parsed.size());
    }

    // As a list of arbitrary items, one per zero byte.
    CDelimStringArray items;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\0') {
            items.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    CDelimStringArray reread;
    reread.Parse(items.Join());
    if (SurvivesJoin(items)) {
        Check(reread.IsEqual(items));
    }
    return 0;
}
