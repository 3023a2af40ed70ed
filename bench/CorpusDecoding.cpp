// Counts the game records of a tree whose names (PB, PW, GN) show as text:
// no replacement character and no C1 control. Printed for the old display
// (UTF-8 with a Latin-1 fallback) and for the charset rule, with how often
// each step of the rule decided, and for detection thresholds.
#include "collection/GameEntry.h"
#include "qtcore/ByteText.h"
#include "qtcore/DisplayDecoder.h"
#include "qtcore/RowDisplay.h"
#include "reader/GameReader.h"

#include "ToolArgs.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace {

// Han, kana and Hangul: names that show as what they are, not as mojibake.
bool HasCjk(const QString& text)
{
    for (QChar c : text) {
        const auto u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7AF))
            return true;
    }
    return false;
}

bool Readable(const QString& text)
{
    for (QChar c : text)
        if (c == QChar::ReplacementCharacter || (c.unicode() >= 0x80 && c.unicode() <= 0x9F) || c.unicode() == 0x1A)
            return false;
    return true;
}

const char* RuleName(CDisplayDecoder::ERule rule)
{
    switch (rule) {
    case CDisplayDecoder::ERule::Ascii:
        return "ascii";
    case CDisplayDecoder::ERule::Declared:
        return "declared CA";
    case CDisplayDecoder::ERule::Utf8:
        return "UTF-8";
    case CDisplayDecoder::ERule::Chosen:
        return "chosen charset";
    case CDisplayDecoder::ERule::Detected:
        return "detected";
    case CDisplayDecoder::ERule::Folder:
        return "folder's charset";
    case CDisplayDecoder::ERule::Latin1:
        return "Latin-1";
    }
    return "?";
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = CheckToolArgs(argc, argv,
                                          "usage: varnex-bench-decode DIR [list]\n"
                                          "  with a second argument, names the records detected or unreadable\n"))
        return *status;
    if (argc < 2) {
        std::fprintf(stderr, "usage: varnex-bench-decode DIR\n");
        return 2;
    }
    CDisplayDecoder decoder;
    int records = 0, before = 0, after = 0, cjkBefore = 0, cjkAfter = 0;
    std::map<std::string, int> rules;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(argv[1], error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (error || !it->is_regular_file(error))
            continue;
        CGameEntry entry;
        if (!ReadGameFile(it->path().string(), entry.m_props))
            continue;
        ++records;
        const auto choice = decoder.Choose(RecordTexts(entry), RecordCharset(entry));
        bool oldOk = true, newOk = true, oldCjk = false, newCjk = false;
        for (const char* id : {"PB", "PW", "GN"}) {
            const CPropertyValue value = entry.m_props.Find(id);
            if (!value)
                continue;
            oldOk = oldOk && Readable(BytesToDisplayText(*value));
            const QString shown = decoder.Decode(*value, choice);
            newOk = newOk && Readable(shown);
            oldCjk = oldCjk || HasCjk(BytesToDisplayText(*value));
            newCjk = newCjk || HasCjk(shown);
        }
        before += oldOk;
        after += newOk;
        cjkBefore += oldCjk;
        cjkAfter += newCjk;
        ++rules[std::string(RuleName(choice.rule)) + (choice.charset.empty() ? "" : " " + choice.charset)];
        if (argc > 2 && (!newOk || choice.rule == CDisplayDecoder::ERule::Detected))
            std::printf(
                "%s: %s (%s %s %d) %s\n", newOk ? "detected" : "unreadable", it->path().c_str(), RuleName(choice.rule),
                choice.charset.c_str(), decoder.LastConfidence(),
                entry.m_props.Find("PB") ? decoder.Decode(*entry.m_props.Find("PB"), choice).toUtf8().constData() : "");
    }
    std::printf("records %d; names readable: before %d, after %d\n", records, before, after);
    std::printf("records with names in Han, kana or Hangul: before %d, after %d\n", cjkBefore, cjkAfter);
    for (const auto& [rule, count] : rules)
        std::printf("  %-28s %d\n", rule.c_str(), count);
    return 0;
}
