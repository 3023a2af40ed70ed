#include "cli/CliEscape.h"

std::string EscapeField(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
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
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 0x0F];
            } else {
                out += ch;
            }
        }
    }
    return out;
}
