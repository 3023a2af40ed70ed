#include "report/ExportWriter.h"

#include "files/SafeFileWrite.h"

std::string_view CutExportCell(std::string_view text)
{
    if (text.size() <= kExportCellBytes)
        return text;
    // Drop a UTF-8 character that the cut would split. Only a whole, well-formed
    // sequence running past the cut counts, so texts in other multibyte sets
    // (GBK, Shift_JIS) keep their 199 bytes.
    for (std::size_t back = 1; back <= 3; ++back) {
        const auto byte = static_cast<unsigned char>(text[kExportCellBytes - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        std::size_t length = 1;
        if ((byte & 0xE0) == 0xC0)
            length = 2;
        else if ((byte & 0xF0) == 0xE0)
            length = 3;
        else if ((byte & 0xF8) == 0xF0)
            length = 4;
        if (length <= back)
            break;
        const std::size_t lead = kExportCellBytes - back;
        bool split = lead + length <= text.size();
        for (std::size_t i = lead + 1; split && i < lead + length; ++i)
            split = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (split)
            return text.substr(0, lead);
        break;
    }
    return text.substr(0, kExportCellBytes);
}

void AppendExportLine(std::string& out, const std::vector<std::string>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out.push_back('\t');
        out.append(CutExportCell(cells[i]));
    }
    out.append("\r\n");
}

bool WriteExportFile(const std::string& path, std::string_view text, std::string* error)
{
    // An export over an older list keeps it whole until the new one is.
    return WriteFileSafely(path, text, error);
}
