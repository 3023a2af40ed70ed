#include "cli/CliEscape.h"

#include <array>

namespace {

// The bytes written as escapes: control bytes, DEL and the backslash.
constexpr auto kNeedsEscape = [] {
    std::array<bool, 256> table{};
    for (int byte = 0; byte < 0x20; ++byte)
        table[byte] = true;
    table[0x7F] = true;
    table['\\'] = true;
    return table;
}();

bool NeedsEscape(unsigned char byte)
{
    return kNeedsEscape[byte];
}

// Backslash, TAB, LF and CR as the tool writes them; false for any other.
bool AppendNamedEscape(std::string& out, char c)
{
    switch (c) {
    case '\\':
        out += "\\\\";
        return true;
    case '\t':
        out += "\\t";
        return true;
    case '\n':
        out += "\\n";
        return true;
    case '\r':
        out += "\\r";
        return true;
    default:
        return false;
    }
}

} // namespace

std::string EscapeField(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendEscapedField(out, text);
    return out;
}

void AppendEscapedField(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::size_t i = 0;
    while (i < text.size()) {
        // Most fields have nothing to escape: their bytes go in one run.
        std::size_t run = i;
        while (run < text.size() && !NeedsEscape(static_cast<unsigned char>(text[run])))
            ++run;
        out.append(text.data() + i, run - i);
        if (run == text.size())
            return;
        const auto byte = static_cast<unsigned char>(text[run]);
        if (!AppendNamedEscape(out, text[run])) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
        i = run + 1;
    }
}

void AppendEscapedCell(std::string& out, std::string_view text)
{
    for (const char c : text)
        if (!AppendNamedEscape(out, c))
            out += c;
}
