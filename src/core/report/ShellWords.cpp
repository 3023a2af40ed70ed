#include "report/ShellWords.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// The bytes a backslash escapes inside double quotes.
bool EscapedInDoubleQuotes(char c)
{
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

} // namespace

std::vector<std::string> SplitShellWords(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    // A word has begun once any part of it was met, an empty quote included.
    bool inWord = false;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const char c = text[i];
        if (IsBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            ++i;
        } else if (c == '\\') {
            if (i + 1 == n) {
                // Nothing left to escape: the backslash is itself.
                word += c;
                inWord = true;
            } else if (text[i + 1] != '\n') {
                word += text[i + 1];
                inWord = true;
            }
            i += 2;
        } else if (c == '\'') {
            inWord = true;
            const std::size_t close = text.find('\'', i + 1);
            const std::size_t end = close == std::string_view::npos ? n : close;
            word.append(text.substr(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == '"') {
            inWord = true;
            ++i;
            while (i < n && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < n && EscapedInDoubleQuotes(text[i + 1])) {
                    if (text[i + 1] != '\n')
                        word += text[i + 1];
                    i += 2;
                } else {
                    word += text[i++];
                }
            }
            ++i;
        } else {
            word += c;
            inWord = true;
            ++i;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}
