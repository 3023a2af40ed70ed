// The charset decision and decoding of the texts of a record: the input is
// cut at NUL bytes into a CA value, a folder, the charset chosen for
// records that name none, and the texts. One decoder lives across runs, as
// in the program, so what it learnt of folders and charsets from earlier
// inputs is used too. A choice is always one of the rules, a declared or
// detected one names a charset, and the UTF-8 checks agree with each other.
#include "qtcore/DisplayDecoder.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CDisplayDecoder decoder;
    static int runs = 0;
    // Folders learnt over many inputs would grow without end.
    if (++runs % 1000 == 0)
        decoder.ForgetFolders();

    std::vector<std::string_view> parts;
    for (std::string_view rest(reinterpret_cast<const char*>(data), size);;) {
        const std::size_t end = rest.find('\0');
        parts.push_back(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    while (parts.size() < 4)
        parts.emplace_back();
    const std::string_view ca = parts[0];
    const std::string_view folder = parts[1];
    decoder.SetNoneCharset(parts[2]);
    const std::vector<std::string_view> texts(parts.begin() + 3, parts.end());

    const CDisplayDecoder::SChoice choice = decoder.Choose(texts, ca, folder);
    using ERule = CDisplayDecoder::ERule;
    if ((choice.rule == ERule::Declared || choice.rule == ERule::Detected) && choice.charset.empty())
        __builtin_trap();
    for (const std::string_view text : texts) {
        const QString decoded = decoder.Decode(text, choice);
        // Texts all of ASCII decode one character a byte.
        if (choice.rule == ERule::Ascii && decoded.size() != static_cast<qsizetype>(text.size()))
            __builtin_trap();
        const bool valid = IsValidUtf8(text);
        const std::size_t tail = Utf8CutTail(text);
        if (valid != (tail == 0) || (valid && !IsUtf8OrCutUtf8(text)) ||
            (tail == std::string_view::npos && IsUtf8OrCutUtf8(text)))
            __builtin_trap();
    }
    decoder.NoteFolderChoice(folder, choice);
    decoder.DecodeAll(texts, ca);
    // The charset a CA value names decodes any bytes, clean or not.
    const std::string named = CDisplayDecoder::CharsetForDeclared(ca);
    if (!named.empty()) {
        const CDisplayDecoder::SChoice declared{ERule::Declared, named};
        for (const std::string_view text : texts)
            decoder.Decode(text, declared);
    }
    return 0;
}
