#pragma once

#include "files/FolderWalk.h"

#include <iosfwd>
#include <string>
#include <vector>

// The path as stored in a collection: absolute, without "." and "..", naming
// the file the user named (a ".." after a symbolic link goes back from the
// link's target); other symbolic links left as they are.
std::string CollectionPathFor(const std::string& path);

// The game files below folder as the desktop program's Add Folder finds
// them. Folders that cannot be read are reported on err, passed over and
// counted in unreadableFolders when it is given.
std::vector<std::string> FindGameFiles(const std::string& folder, std::ostream& err,
                                       long long* unreadableFolders = nullptr);
