#include "cli/CliEscape.h"

namespace {

bool NeedsEscape(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F || byte == '\\';
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
        switch (byte) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
        i = run + 1;
    }
}

void AppendEscapedCell(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}
