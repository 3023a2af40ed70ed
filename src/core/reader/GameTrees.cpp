#include "reader/GameTrees.h"

#include "reader/TextStream.h"

bool SkipValue(CTextStream& stream)
{
    for (;;) {
        const int c = stream.Get();
        if (c == CTextStream::kEnd)
            return false;
        if (c == ']')
            return true;
        // A backslash takes the next byte literally, a "]" too.
        if (c == '\\' && stream.Get() == CTextStream::kEnd)
            return false;
    }
}

int DepthAfter(CTextStream& stream, std::uint64_t end, int depth)
{
    while (stream.Position() < end) {
        switch (stream.Get()) {
        case CTextStream::kEnd:
            return depth;
        case '[':
            if (!SkipValue(stream))
                return depth;
            break;
        case '(':
            ++depth;
            break;
        case ')':
            --depth;
            break;
        default:
            break;
        }
    }
    return depth;
}
