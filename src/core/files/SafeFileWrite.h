#pragma once

#include <string>
#include <string_view>

// Writes bytes to path without ever destroying the previous file: they go to
// a temporary file ".NAME.NNNN.tmp" in the same folder, which replaces the
// old file only when every byte is written and on disk. On any failure the
// temporary file is removed, the old file is untouched and error says why.
// Only a regular file (or a path where nothing is yet) is replaced: a
// device, a pipe or a folder of that name is refused. A link is followed, so
// the file it points to is replaced and the link stays. After a save the
// temporary files of the same name left by writers that are gone (a killed
// program) are removed.
bool WriteFileSafely(const std::string& path, std::string_view bytes, std::string* error = nullptr);
