#include "columns/NewColumnCheck.h"

#include "columns/HeaderLists.h"

ENewColumnCheck CheckNewColumn(std::string_view header, std::string_view signature,
                               const std::vector<std::string>& available)
{
    if (header.empty())
        return ENewColumnCheck::HeaderEmpty;
    if (header.find(':') != std::string_view::npos)
        return ENewColumnCheck::HeaderColon;
    for (const std::string& line : available) {
        const std::string_view text(line);
        if (text.size() > header.size() && text[header.size()] == ':' &&
            SameHeader(text.substr(0, header.size()), header))
            return ENewColumnCheck::HeaderUsed;
    }
    if (signature.empty())
        return ENewColumnCheck::SignatureEmpty;
    if (signature.find(':') != std::string_view::npos)
        return ENewColumnCheck::SignatureColon;
    if (signature.back() == '\\')
        return ENewColumnCheck::SignatureBackslash;
    return ENewColumnCheck::Ok;
}

std::string NewColumnMessage(ENewColumnCheck check, std::string_view header)
{
    switch (check) {
    case ENewColumnCheck::HeaderEmpty:
    case ENewColumnCheck::SignatureEmpty:
        return "This field can not be empty!";
    case ENewColumnCheck::HeaderColon:
    case ENewColumnCheck::SignatureColon:
        return "This string can not have the ':' character in it.";
    case ENewColumnCheck::HeaderUsed:
        return "The column header name \"" + std::string(header) + "\" is already used.";
    case ENewColumnCheck::SignatureBackslash:
        return "This string can not end with the '\\' character.";
    case ENewColumnCheck::Ok:
        break;
    }
    return {};
}

bool IsHeaderCheck(ENewColumnCheck check)
{
    return check == ENewColumnCheck::HeaderEmpty || check == ENewColumnCheck::HeaderColon ||
           check == ENewColumnCheck::HeaderUsed;
}
