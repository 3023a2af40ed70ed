#pragma once

#include <string>
#include <string_view>
#include <vector>

// Export cells are cut to this many bytes.
constexpr std::size_t kExportCellBytes = 199;

// The first 199 bytes of text at most, never ending inside a UTF-8 character.
std::string_view CutExportCell(std::string_view text);

// Appends one exported line: the cells joined by TAB, then CR LF.
void AppendExportLine(std::string& out, const std::vector<std::string>& cells);

// Writes the whole text to path, replacing the file. False when it cannot be written.
bool WriteExportFile(const std::string& path, std::string_view text);
