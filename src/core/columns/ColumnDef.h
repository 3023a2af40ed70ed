#pragma once

#include <string>
#include <string_view>

// One shown column of the report list: its signature and header.
struct CColumnDef
{
    std::string m_strSignature;
    std::string m_strHeader;
};

// Splits a definition text ("Black Rank:BR") at its first colon. Without a
// colon the header is empty and the whole text is the signature.
CColumnDef SplitDefinition(std::string_view text);

// Joins header and signature back into a definition text.
std::string JoinDefinition(std::string_view header, std::string_view signature);
