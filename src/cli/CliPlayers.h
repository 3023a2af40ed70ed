#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class CPlayerAliases;
class IUtf8Converter;

// players COLLECTION.vnx [--player NAME] [--aliases FILE]
//
// The players of the collection, one line
// "NAME<TAB>GAMES<TAB>WINS<TAB>LOSSES<TAB>WITHOUT WINNER<TAB>FIRST YEAR<TAB>LAST YEAR"
// each, most games first, then by name; with --player one line
// "OPPONENT<TAB>GAMES<TAB>WINS<TAB>LOSSES<TAB>LAST GAME" per opponent of that
// player instead. Every game of every file counts. Names are written in
// UTF-8 as the list shows them (utf8 converts), a backslash, TAB, LF or CR in
// one as in list --escape. aliases are the user's; --aliases FILE joins
// those of the file on top. Exit 0, 1 when the collection cannot be opened
// or no game names the player, 2 for arguments or an alias file that cannot
// be read.
int RunPlayersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const std::string& cacheFolder, IUtf8Converter& utf8, const CPlayerAliases& aliases);
