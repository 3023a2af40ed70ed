#pragma once

#include <iosfwd>
#include <string>

// dups: one line per group of games that are one game, the paths escaped as
// info escapes them and tab-separated, the copy to keep first; a game of a
// file of several games is named "PATH #N" (N from 1). The groups in byte
// order of their first path. Nothing when there are none. Exit 1 when
// the collection cannot be opened.
int RunDups(const std::string& collection, std::ostream& out, std::ostream& err);
