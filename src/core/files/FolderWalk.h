#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whether a file found in a folder is taken: its name ends in .sgf, .mgt or
// .gph, in any letter case.
bool HasGameFileExtension(const std::string& name);

// The game files below a folder, depth first, the entries of each folder in
// bytewise order of their names. The walk goes in steps, so a program with a
// window can let its events run between them on a slow disk. Folders reached
// through symbolic links are not entered, so a link back up the tree cannot
// make the walk endless; folders that cannot be read are passed over and
// counted.
class CFolderWalk
{
public:
    explicit CFolderWalk(const std::string& root);

    // Reads at most maxFolders folders; false once the walk is complete.
    bool Step(std::size_t maxFolders = 16);
    // Walks to the end.
    void Run();
    bool Done() const { return m_frames.empty(); }

    const std::vector<std::string>& Files() const { return m_files; }
    std::vector<std::string> TakeFiles() { return std::move(m_files); }
    // The folders that could not be read, with the reason for each.
    struct SUnreadable
    {
        std::string folder;
        std::string reason;
    };
    const std::vector<SUnreadable>& Unreadable() const { return m_unreadable; }

private:
    struct SItem
    {
        std::string name;
        bool isFolder;
    };
    struct SFrame
    {
        std::string folder;
        std::vector<SItem> items;
        std::size_t next = 0;
    };
    void Enter(const std::string& folder);

    std::vector<SFrame> m_frames;
    std::vector<std::string> m_files;
    std::vector<SUnreadable> m_unreadable;
};
