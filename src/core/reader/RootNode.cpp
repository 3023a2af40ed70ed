#include "reader/RootNode.h"

#include <limits>

ENodeEnd ReadNodeProperties(CRecordTokenizer& tokens, CPropertyTable& table, std::size_t* values)
{
    char id[CRecordTokenizer::kMaxIdLetters];
    std::size_t letters = 0;
    for (;;) {
        switch (tokens.Next()) {
        case ERecordToken::Identifier:
            letters = tokens.Id().size();
            tokens.Id().copy(id, letters);
            break;
        case ERecordToken::Value:
            table.Set(std::string_view(id, letters), tokens.Value());
            letters = 0;
            if (values)
                ++*values;
            break;
        case ERecordToken::Semicolon:
            return ENodeEnd::Semicolon;
        case ERecordToken::Open:
            return ENodeEnd::Open;
        case ERecordToken::Close:
            return ENodeEnd::Close;
        case ERecordToken::End:
            // A record may consist of its root node alone: the input ending
            // before a new identifier has begun completes the node. An
            // identifier cut short by the end does not.
            return letters == 0 ? ENodeEnd::End : ENodeEnd::IdentifierCut;
        case ERecordToken::ValueCutOff:
            return ENodeEnd::ValueCutOff;
        case ERecordToken::TooLarge:
            return ENodeEnd::TooLarge;
        }
    }
}

std::uint64_t RootNodeLimit(std::uint64_t start, std::uint64_t maxRootBytes)
{
    // maxRootBytes may be as large as the type holds; the limit is the
    // first position the node may not reach.
    const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    return maxRootBytes >= most - start - 1 ? most : start + maxRootBytes + 1;
}

ERootStart FindRootNode(CRecordTokenizer& tokens, std::uint64_t maxRootBytes, CPropertyTable& bareProperties)
{
    CTextStream& stream = tokens.Stream();
    if (SkipPast(stream, '(') == CTextStream::kEnd)
        return ERootStart::None;
    const std::uint64_t afterParen = stream.Position();
    tokens.SetLimit(RootNodeLimit(afterParen, maxRootBytes));
    std::size_t values = 0;
    const bool bare = ReadNodeProperties(tokens, bareProperties, &values) == ENodeEnd::Semicolon && values > 0;
    stream.Rewind(afterParen);
    if (bare)
        return ERootStart::Bare;
    return SkipPast(stream, ';') == CTextStream::kEnd ? ERootStart::None : ERootStart::AfterNode;
}
