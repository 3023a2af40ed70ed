#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class IShownText;

// pattern COLLECTION.vnx [--fixed-colours] [--continuations] --region RECT --rows ROWS
// pattern COLLECTION.vnx [--fixed-colours] [--continuations] --region RECT --from GAME [--move N]
// pattern COLLECTION.vnx [--continuations] --batch FILE
//
// The games of the collection where the pattern stands, one line
// "PATH<TAB>K" each (K the first position it stands at), in byte order of
// the paths; a game of a file of several games is "PATH #N" (N from 1, the
// games of one file in file order). With --continuations one line
// "POINT<TAB>COLOUR<TAB>GAMES<TAB>BLACKWINS<TAB>WHITEWINS" a continuation
// instead. A batch answers each of its queries after a line "#<TAB>N".
// Exit 0, 1 when the collection cannot be opened, 2 for arguments or a
// pattern that cannot be read. shown gives results as the list shows them,
// so each game's winner is the Winner column's. cacheFolder holds the
// header caches, where the games' positions are kept.
int RunPatternCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const std::string& cacheFolder, IShownText* shown = nullptr);
