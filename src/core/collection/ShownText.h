#pragma once

#include <string>
#include <string_view>

class CGameEntry;

// A text of a record as the list shows it, in UTF-8: the layer that knows
// charsets decodes it by the record's charset. The user's own names are typed
// as text, so a record in its own charset is compared through this.
class IShownText
{
public:
    virtual ~IShownText() = default;
    virtual std::string ShownUtf8(const CGameEntry& entry, std::string_view text) = 0;
};
