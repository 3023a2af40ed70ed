#include "files/FolderWalk.h"

#include "util/AsciiFold.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool HasGameFileExtension(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    AsciiLowerInPlace(ext);
    return ext == ".sgf" || ext == ".mgt" || ext == ".gph";
}

CFolderWalk::CFolderWalk(const std::string& root)
{
    Enter(root);
}

void CFolderWalk::Enter(const std::string& folder)
{
    SFrame frame;
    frame.folder = folder;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        std::error_code typeError;
        if (it->is_symlink(typeError)) {
            // A link to a game file is taken; a link to a folder never entered.
            if (HasGameFileExtension(name) && it->is_regular_file(typeError))
                frame.items.push_back({std::move(name), false});
        } else if (it->is_directory(typeError)) {
            frame.items.push_back({std::move(name), true});
        } else if (HasGameFileExtension(name) && it->is_regular_file(typeError)) {
            frame.items.push_back({std::move(name), false});
        }
    }
    if (ec) {
        // What was listed before the error is still walked.
        m_unreadable.push_back({folder, ec.message()});
    }
    std::sort(frame.items.begin(), frame.items.end(), [](const SItem& a, const SItem& b) { return a.name < b.name; });
    m_frames.push_back(std::move(frame));
}

bool CFolderWalk::Step(std::size_t maxFolders)
{
    std::size_t entered = 0;
    while (!m_frames.empty() && entered < std::max<std::size_t>(maxFolders, 1)) {
        SFrame& top = m_frames.back();
        if (top.next == top.items.size()) {
            m_frames.pop_back();
            continue;
        }
        const SItem& item = top.items[top.next++];
        std::string full = (fs::path(top.folder) / item.name).string();
        if (item.isFolder) {
            Enter(full); // invalidates top
            ++entered;
        } else {
            m_files.push_back(std::move(full));
        }
    }
    return !m_frames.empty();
}

void CFolderWalk::Run()
{
    while (Step(64)) {
    }
}
