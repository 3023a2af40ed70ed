#pragma once

#include <string>
#include <string_view>
#include <vector>

// Export cells are cut to this many bytes.
constexpr std::size_t kExportCellBytes = 199;

// The first 199 bytes of text at most. When the cut falls inside a UTF-8
// character, that partial character is dropped.
std::string_view CutExportCell(std::string_view text);

// Appends one exported line: the cells, each cut by CutExportCell, joined by
// TAB, then CR LF.
void AppendExportLine(std::string& out, const std::vector<std::string>& cells);

// Writes the whole text to path, replacing or creating the file. The old file
// is replaced only once the whole text is written (as WriteFileSafely does);
// false, with the reason in error, when it cannot be written.
bool WriteExportFile(const std::string& path, std::string_view text, std::string* error = nullptr);
