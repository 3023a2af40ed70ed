#include "cli/CliFileWalk.h"

#include "cli/CliEscape.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Folders reached through symbolic links are not entered, so a link back up
// the tree cannot make the walk endless.
void Walk(const fs::path& folder, std::vector<std::string>& found, std::ostream& err)
{
    struct Item
    {
        std::string name;
        bool isFolder;
    };
    std::vector<Item> items;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError))
            items.push_back({name, true});
        else if (HasGameFileExtension(name) && it->is_regular_file(typeError))
            items.push_back({name, false});
    }
    if (ec)
        err << "varnex-cli: cannot read folder " << EscapeField(folder.string()) << ": " << ec.message() << '\n';
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.name < b.name; });
    for (const Item& item : items) {
        const fs::path full = folder / item.name;
        if (item.isFolder)
            Walk(full, found, err);
        else
            found.push_back(full.string());
    }
}

} // namespace

bool HasGameFileExtension(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return ext == ".sgf" || ext == ".mgt" || ext == ".gph";
}

std::string CollectionPathFor(const std::string& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(path), ec);
    if (ec)
        absolute = fs::path(path);
    return absolute.lexically_normal().string();
}

std::vector<std::string> FindGameFiles(const std::string& folder, std::ostream& err)
{
    std::vector<std::string> found;
    Walk(fs::path(folder), found, err);
    return found;
}
