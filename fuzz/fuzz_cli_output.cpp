// What the command-line tool writes: escaped fields and cells over any
// bytes, and the board command over a game file of the input's bytes, in
// both of its forms. An escaped field reads back as the bytes it came from
// and holds no control byte; a cell stays on one line; the board's line
// holds the path, the moves and one row of points for each row of a board
// of the record's size.
#include "cli/CliBoard.h"
#include "cli/CliEscape.h"
#include "reader/GameRecordReader.h"

#include "FuzzWorkFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes an escaped field stands for; false when it is not one the
// escaping can make.
bool Unescape(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F)
            return false;
        if (c != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            if (i + 2 >= text.size())
                return false;
            const int high = HexDigit(text[i + 1]);
            const int low = HexDigit(text[i + 2]);
            if (high < 0 || low < 0)
                return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string field = EscapeField(bytes);
    std::string back;
    if (!Unescape(field, back) || back != bytes)
        __builtin_trap();
    std::string cell;
    AppendEscapedCell(cell, bytes);
    if (cell.find_first_of("\t\n\r") != std::string::npos)
        __builtin_trap();

    const std::string path = FuzzWorkFolder() + "/g.sgf";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    const SGameRecord record = ReadGameRecordBytes(bytes);
    // The move to show: the last byte picks the end, the start or a move.
    std::optional<int> move;
    if (size > 0 && data[size - 1] % 3 != 0)
        move = data[size - 1] % 3 == 1 ? 0 : data[size - 1];

    std::ostringstream out;
    std::ostringstream err;
    RunBoard({path}, move, false, out, err);
    const std::string line = out.str();
    const std::string prefix = EscapeField(path) + '\t';
    if (line.compare(0, prefix.size(), prefix) != 0 || line.empty() || line.back() != '\n' ||
        line.find('\n') != line.size() - 1)
        __builtin_trap();
    const std::string_view rest = std::string_view(line).substr(prefix.size(), line.size() - prefix.size() - 1);
    if (rest == "fail") {
        if (record.HasGame() || err.str().empty())
            __builtin_trap();
    } else {
        const std::size_t tab = rest.find('\t');
        if (tab == std::string_view::npos || tab == 0 || rest.find_first_not_of("0123456789") != tab)
            __builtin_trap();
        const std::string_view rows = rest.substr(tab + 1);
        const std::size_t width = static_cast<std::size_t>(record.width);
        const std::size_t height = static_cast<std::size_t>(record.height);
        if (rows.size() != height * (width + 1) - 1 || rows.find_first_not_of("XO./") != std::string_view::npos)
            __builtin_trap();
        for (std::size_t y = 1; y < height; ++y) {
            if (rows[y * (width + 1) - 1] != '/')
                __builtin_trap();
        }
    }

    std::ostringstream pretty;
    std::ostringstream prettyErr;
    RunBoard({path}, move, true, pretty, prettyErr);
    const std::string drawn = pretty.str();
    if (drawn.empty() || drawn.back() != '\n' || prettyErr.str() != err.str())
        __builtin_trap();
    return 0;
}
