#include "report/DisplayName.h"

std::string GetDisplayName(std::string_view path, bool fullPath)
{
    if (fullPath)
        return std::string(path);
    // The final component, whole: a file system allows no longer name than
    // 255 bytes for it, so the old limit of 255 characters each for name and
    // extension never cuts a real file name.
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string_view::npos)
        return std::string(path);
    return std::string(path.substr(slash + 1));
}
