#include "files/ResolvedPath.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string ResolvedAbsolutePath(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(path), ec);
    if (ec)
        absolute = fs::path(path);

    fs::path resolved = absolute.root_path();
    fs::path rest = absolute.relative_path();
    auto part = rest.begin();
    for (; part != rest.end(); ++part) {
        if (part->empty() || *part == ".")
            continue;
        if (*part != "..") {
            resolved /= *part;
            continue;
        }
        if (resolved == resolved.root_path())
            continue; // "/.." is "/"
        const fs::file_status status = fs::symlink_status(resolved, ec);
        if (ec || !fs::exists(status))
            break; // the system would stop here too: keep the rest as written
        if (fs::is_symlink(status)) {
            const fs::path target = fs::canonical(resolved, ec);
            if (ec)
                break;
            resolved = target.parent_path();
        } else {
            resolved = resolved.parent_path();
        }
    }
    for (; part != rest.end(); ++part)
        resolved /= *part;
    return resolved.string();
}
