#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// The .sgf files below root (any depth), in byte order of their paths, so a
// benchmark takes the same games in the same order on every run. A folder
// that cannot be read ends the walk with what was found.
inline std::vector<std::string> SgfFilesUnder(const std::filesystem::path& root)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        std::error_code kind;
        if (it->is_regular_file(kind) && (ext == ".sgf" || ext == ".SGF"))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}
