#pragma once

#include <string>

// The absolute path that names the file path names, written without "." and
// "..". A ".." goes back to the folder the one before it stands in on disk:
// after a symbolic link that is the parent of the link's target, not the
// folder the link itself is in, so the link is followed there and only
// there; every other symbolic link is kept as written. From a name that does
// not exist on, the rest is kept as written, so the file asked for is still
// the one named.
std::string ResolvedAbsolutePath(const std::string& path);
