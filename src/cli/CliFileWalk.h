#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Whether a file found in a folder is taken: its name ends in .sgf, .mgt or
// .gph, in any letter case.
bool HasGameFileExtension(const std::string& name);

// The path as stored in a collection: absolute and lexically normalised,
// symbolic links left as they are.
std::string CollectionPathFor(const std::string& path);

// The game files below folder, depth first, the entries of each folder in
// bytewise order of their names. Folders that cannot be read are reported
// on err and passed over.
std::vector<std::string> FindGameFiles(const std::string& folder, std::ostream& err);
