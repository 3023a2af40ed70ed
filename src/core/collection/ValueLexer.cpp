#include "collection/ValueLexer.h"

bool ReadValueText(CTextStream& stream, std::string& value)
{
    constexpr int kEnd = CTextStream::kEnd;
    value.clear();
    int look = stream.Peek();
    if (look == kEnd)
        return false;
    while (look != ']') {
        if (look == '\\') {
            stream.Get();
            look = stream.Peek();
            if (look == kEnd)
                return false;
        }
        value.push_back(static_cast<char>(look));
        stream.Get();
        look = stream.Peek();
        if (look == kEnd)
            return false;
    }
    return true;
}
