#include "cli/CliFileWalk.h"

#include "cli/CliEscape.h"
#include "files/ResolvedPath.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace fs = std::filesystem;

std::string CollectionPathFor(const std::string& path)
{
    return ResolvedAbsolutePath(path);
}

std::vector<std::string> FindGameFiles(const std::string& folder, std::ostream& err, long long* unreadableFolders)
{
    CFolderWalk walk(folder);
    walk.Run();
    for (const CFolderWalk::SUnreadable& bad : walk.Unreadable())
        err << "varnex-cli: cannot read folder " << EscapeField(bad.folder) << ": " << bad.reason << '\n';
    if (unreadableFolders)
        *unreadableFolders += static_cast<long long>(walk.Unreadable().size());
    return walk.TakeFiles();
}
