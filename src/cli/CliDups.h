#pragma once

#include <iosfwd>
#include <string>

// dups: one line per group of files that hold one game, the paths escaped as
// info escapes them and tab-separated, the copy to keep first; the groups in
// byte order of their first path. Nothing when there are none. Exit 1 when
// the collection cannot be opened.
int RunDups(const std::string& collection, std::ostream& out, std::ostream& err);
