#include "columns/ColumnDef.h"

CColumnDef SplitDefinition(std::string_view text)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        return CColumnDef{std::string(text), std::string()};
    }
    return CColumnDef{std::string(text.substr(colon + 1)), std::string(text.substr(0, colon))};
}

std::string JoinDefinition(std::string_view header, std::string_view signature)
{
    std::string text;
    text.reserve(header.size() + 1 + signature.size());
    text.append(header).append(1, ':').append(signature);
    return text;
}
