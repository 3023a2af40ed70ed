#include "reader/GameFileForm.h"
#include "reader/GameReader.h"
#include "reader/GameRecordReader.h"
#include "reader/TextStream.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The list reads a record's first node, the game view follows its first
// child; both on one tokenizer. Whenever the list reads the record, the game
// view's root properties are the same, in the same order; and so are those
// of every later game tree, read by the game view from where the list says
// it starts. Reading the later games never changes the first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (StartsBinaryForm(bytes))
        return 0; // no text to tokenize
    CTextStream stream(bytes);
    CPropertyTable listed;
    if (!ReadTextRecord(stream, listed))
        return 0;
    const SGameRecord record = ReadGameRecordBytes(bytes);
    // These end the whole record early, and the root with it.
    if (record.problem == EGameProblem::TooLarge || record.problem == EGameProblem::TooManyStones)
        return 0;
    if (record.root.Items() != listed.Items())
        __builtin_trap();
    CTextStream again(bytes);
    CPropertyTable first;
    SMoreGames more;
    if (ReadTextRecord(again, first, kMaxRecordBytes, &more) != ERecordResult::Read || first.Items() != listed.Items())
        __builtin_trap();
    for (std::size_t i = 0; i < more.tables.size(); ++i) {
        CTextStream tree(bytes.substr(static_cast<std::size_t>(more.starts[i])));
        const SGameRecord later = ReadGameRecord(tree);
        if (later.problem == EGameProblem::TooLarge || later.problem == EGameProblem::TooManyStones)
            continue;
        if (later.root.Items() != more.tables[i].Items())
            __builtin_trap();
    }
    return 0;
}
