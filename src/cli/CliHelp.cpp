#include "cli/CliHelp.h"

#include <array>

namespace {

// The synopsis of every command, then what the commands share.
constexpr const char* kSynopsis = R"(Usage:
  varnex-cli info [--utf8] [--game N] FILE...
  varnex-cli add [--verbose] COLLECTION.vnx PATH... [--no-cache]
  varnex-cli list COLLECTION.vnx [--full-path | --no-full-path] [--settings FILE] [--utf8]
                 [--filter TEXT] [--no-cache] [--escape]
  varnex-cli board [--move N | --start] [--pretty] FILE...
  varnex-cli dups COLLECTION.vnx
  varnex-cli pattern COLLECTION.vnx [--fixed-colours] [--continuations] --region RECT --rows ROWS
  varnex-cli pattern COLLECTION.vnx [--fixed-colours] [--continuations] --region RECT --from GAME [--move N]
  varnex-cli pattern COLLECTION.vnx [--continuations] --batch FILE
  varnex-cli players COLLECTION.vnx [--player NAME] [--aliases FILE]
  varnex-cli --help
  varnex-cli COMMAND --help   (that command's part of this help)
)";

constexpr const char* kOutputNote = R"(Every command exits 1 when its standard output cannot be written whole
(a full disk).
)";

struct SCommandHelp
{
    const char* name;
    const char* text;
};

// Each section starts with the command's own synopsis line.
constexpr std::array<SCommandHelp, 7> kCommands = {{
    {"info", R"(info [--utf8] [--game N] FILE...
  Reads the game-information properties (the root node) of each game file:
  of its first game, or with --game N of its N-th game tree (N from 1, as
  the list numbers the games of a file of several: "NAME #N"). A file that
  holds fewer games gives a fail line, says so on stderr, and makes the
  exit status 1.
  Writes one line "PATH<TAB>ok" or "PATH<TAB>fail" per file; after an ok line
  one line "<TAB>ID<TAB>VALUE" per property, in bytewise order of ID. In PATH,
  ID and VALUE a backslash is written \\, TAB \t, LF \n, CR \r, every other
  byte below 0x20 and 0x7F as \xHH; all other bytes as they are. The reason
  of each fail is written on stderr. Exit 0.
  With --utf8, PATH and VALUE are converted to UTF-8 first, as the list
  shows them: the record's CA charset, else UTF-8, else the detected one,
  else Latin-1; the path as the list shows file names (UTF-8, a byte that
  is not UTF-8 as its Latin-1 character).
)"},
    {"add", R"(add [--verbose] COLLECTION.vnx PATH... [--no-cache]
  Adds game files to the collection file; a missing collection file is
  created. A PATH that is a file is added whatever its name; a folder is
  walked recursively, entries in bytewise name order, taking the files whose
  names end in .sgf, .mgt or .gph in any letter case (folders reached through
  symbolic links are not entered). Paths are stored absolute, without "."
  and "..", naming the file the PATH names: a ".." goes back from where the
  folder before it is on disk (from the target of a symbolic link); other
  symbolic links are kept, as the desktop program's Add dialog stores them. Opening the collection reads every game
  file in it again, as the desktop program does (game files unchanged since
  they were last read take their values from the header cache, see list):
  stored game files that
  cannot be read any more are kept in the collection, and their count is
  noted on stderr. A file that is not a collection file is refused and left
  untouched. The collection is written only when something was added or the
  file is new, safely: the old file is replaced only once the new one is
  complete. A PATH that cannot be read at all is named on stderr with the
  reason; when no PATH could be read nothing is written. Files inside a
  folder that are not game records count as unreadable and are named on
  stderr with --verbose.
  The collection is locked (a lock file ".NAME.lock" beside it) from the
  read to the save, so two adds to one collection at once both count: the
  second waits for the first (saying so after a second) and then adds to
  what the first wrote. A collection that is no regular file (a pipe, a
  device, a folder) is refused and never replaced; so is one over 1 GiB.
  Stored relative paths are taken from the collection's folder.
  Prints "added N, already present M, unreadable K".
  Exit 0 on success, 1 when a PATH could not be read or the collection
  cannot be read or written (the old file is left as it was), 2 on bad
  arguments.
)"},
    {"list", R"(list COLLECTION.vnx [--full-path | --no-full-path] [--settings FILE] [--utf8]
     [--filter TEXT] [--no-cache] [--escape]
  Writes exactly the bytes the Export command writes right after the
  collection is opened in the details style: one line per game (each game
  of a file of several games is a line, its name followed by " #N"), in the
  stored sort order, the shown columns of the settings, cells separated by
  TAB and cut to 199 bytes, every line ended by CR LF, no header line.
  The first column shows file names, or full paths with --full-path;
  without either flag the stored "Show Full Path" setting decides.
  Settings are read (never written) from the desktop program's settings
  (company "Pellmore", application "Varnex"), or from the INI file given
  with --settings (an existing regular file, else a usage error). With --utf8 every cell is converted to UTF-8 as the list
  shows it before the cut, which then keeps whole characters; without it
  the bytes are exactly those of Export.
  With --filter only the rows the desktop program's quick filter shows for
  TEXT are written: TEXT is cut at blanks into terms ("a quoted phrase" is
  one), and a row is kept when every term matches, compared on the
  displayed (decoded) texts without regard to letter case. A word matches
  when it is found in one of the row's cells (the file-name cell included);
  FIELD:TEXT when TEXT is found in that field of the record, shown or not:
  player: (either colour), black:, white:, winner:, loser:, event:,
  result:, date:, or a property identifier (PB:, EV:, RO:, PC: ...);
  player:="NAME" (and black:=, white:=, winner:=, loser:=) matches that
  player's names alone, not another name that holds NAME. date: takes 2016, 2016-03, 2016-03-05 or a range 2016..2019, ..1990,
  2016.. (both ends included; the first date of DT counts, a record without
  a readable date never matches); result:jigo matches the draws (0, Draw,
  Jigo), result:B+R, result:W+, result:void what their texts hold. A leading
  - leaves out the rows a term matches. An unknown field name is noted on
  stderr and its term counts as a word.
  Game files whose size, times, inode and device are those they had when
  they were last read take their values from the header cache of the
  collection in the user's cache folder (~/.cache/Pellmore/Varnex), shared
  with the desktop program; the others are read and their cache rows
  replaced. The output is the same either way. With --no-cache every game
  file is read and the cache is neither read nor written. Deleting the
  cache is always safe.
  With --escape a backslash in a cell is written \\, TAB \t, LF \n and CR
  \r (after the cut), so every game stays on one line of cells; without it
  the cells are byte-exact, as Export writes them.
  Exit 0 on success, 1 when the collection cannot be opened, 2 on bad
  arguments.
)"},
    {"board", R"(board [--move N | --start] [--pretty] FILE...
  Reads the main line of each game file (the first variation at every
  branch) and plays it on a board by the rules (captures, suicide; ko is not
  enforced). Writes one line "PATH<TAB>MOVES<TAB>ROWS" per file: MOVES is
  the number of moves of the main line, passes and irregular moves (onto a
  taken point or off the board, skipped) included; ROWS is the position at
  the end, after move N (the end when N is larger), or at the start with
  --start (the setup stones alone), as the rows from the top joined by "/",
  each point X for black, O for white, . for empty. PATH is escaped as info
  escapes it. A file that holds no game, or only in the binary form, or is
  larger than 64 MiB (no real record comes near that), writes
  "PATH<TAB>fail" and the reason on stderr; a damaged record writes what
  could be read, and the reason on stderr. A size SZ gives that no board
  has (not 1 to 52 lines) is played on 19 by 19, with a note on stderr.
  --pretty draws each board with coordinates instead (columns without I,
  rows numbered from the bottom, stars as +, the last stone played in
  parentheses). Exit 0.
)"},
    {"dups", R"(dups COLLECTION.vnx
  Finds the game files of the collection that hold one game: the same setup
  stones and moves of the main line on the same board, also rotated or
  mirrored (colours never swapped); comments, variations and the game
  information do not count. A copy cut short of 50 moves or more goes with
  the longest game it is the start of. Games of fewer than 20 moves are one
  game only when their players (PB, PW) and date (DT) are equal too.
  Each game of a file of several games is a game: two of one file can be
  copies. Writes one line per group: its paths, escaped as info escapes
  them, a game of a file of several followed by " #N", separated by TAB; first the copy to keep (the most moves, then one with
  comments, then the oldest file), the others in the same order. Groups in
  bytewise order of their first path. Nothing when there are none. Exit 0,
  1 when the collection cannot be opened, 2 on bad arguments.
)"},
    {"pattern", R"(pattern COLLECTION.vnx [--fixed-colours] [--continuations] --region RECT --rows ROWS
       varnex-cli pattern COLLECTION.vnx [--fixed-colours] [--continuations] --region RECT --from GAME [--move N]
       varnex-cli pattern COLLECTION.vnx [--continuations] --batch FILE
  Finds the games of the collection in which a shape of stones occurs.
  RECT is a rectangle of the 19x19 board given by two SGF points, its
  upper-left and lower-right corners (aa:gg), or "all" for the whole board.
  ROWS are its rows from the top joined by "/", each as wide as the
  rectangle, one sign a point: X black, O white, . empty, x black or empty,
  o white or empty, * anything. With --from GAME the signs are the stones
  inside RECT at position N of that game file's main line (its end without
  --move), on that game's board.
  Where the shape may stand: along an axis on which the rectangle touches an
  edge of the board it stays there; along an axis on which it touches
  neither edge it may shift as long as it touches neither edge. It also
  stands in the 8 rotations and reflections of the board and, unless
  --fixed-colours is given, with black and white exchanged. Only games on a
  board of the pattern's size are searched. The positions of a game are
  those of its main line played by the rules: 0 the start with the setup
  stones, K the board after K moves (passes and skipped moves count).
  Writes one line "PATH<TAB>K" per game where the shape stands, K the first
  position it stands at, in bytewise order of the paths (escaped as info
  escapes them); a game of a file of several games is "PATH #N", the games
  of one file in file order. With --continuations, instead, one line per continuation
  "POINT<TAB>COLOUR<TAB>GAMES<TAB>BLACKWINS<TAB>WHITEWINS": the first later
  move of the main line inside the matched rectangle, as an SGF point on the
  board as the pattern was drawn and the colour it played in the pattern's
  colours (B or W), how many games went on so, and how many of them the
  pattern's Black and the pattern's White won; most games first, then by
  point, then B before W. Symmetric moves of a symmetric pattern count as
  one.
  --batch FILE: one query a line, "RECT ROWS" with an optional third word
  "fixed"; each answer follows a line "#<TAB>N", N the query's number from 1.
  The games' positions are kept in the header cache: a game file unchanged
  since is never read again for a search.
  Exit 0 (no output when nothing matches), 1 when the collection cannot be
  opened, 2 for a pattern that cannot be read (rows of the wrong width or
  count, a sign outside the six, a rectangle off the board, a move past the
  game's end), with the reason on stderr.
)"},
    {"players", R"help(players COLLECTION.vnx [--player NAME] [--aliases FILE]
  Writes the players of the collection, one line each:
  "NAME<TAB>GAMES<TAB>WINS<TAB>LOSSES<TAB>WITHOUT WINNER<TAB>FIRST YEAR<TAB>LAST YEAR",
  most games first, then by name. Black and White count alike; every game
  of a file of several games counts. A game's winner is the one the Winner
  column names; a draw, a void game or an unknown result is a game without
  a winner, never a loss. The years are the first four-digit year of DT
  (empty when no game of the player has one).
  Spellings of one player count as one: rank words and marks written after
  a name ("9p", "9 dan", "P9", "[4k]", "(9段)", " 九段", "8단", "アマ", "pro",
  and titles such as "Meijin" and "名人") are taken off, then blanks and
  letter case are not told apart. The user's aliases (joined in the
  window's Players dock) join further names; --aliases FILE joins those of
  FILE too, one player per line: NAME<TAB>ALIAS<TAB>ALIAS... in UTF-8.
  A player is named by the most frequent spelling, without rank words.
  With --player NAME, writes that player's opponents instead, one line each:
  "OPPONENT<TAB>GAMES<TAB>WINS<TAB>LOSSES<TAB>LAST GAME", most games first;
  wins and losses are the player's, the last game the date of their latest
  game (YYYY-MM-DD, or as much of it as DT gives).
  Names are written in UTF-8 as the list shows them (see info --utf8); a
  backslash, TAB, LF or CR in one is written \\, \t, \n, \r.
  Exit 0, 1 when the collection cannot be opened or no game names the
  player, 2 for bad arguments or an alias file that cannot be read.
)help"},
}};

} // namespace

std::string WholeHelp()
{
    std::string help = std::string(kSynopsis) + "\n" + kOutputNote;
    for (const SCommandHelp& command : kCommands)
        help += std::string("\n") + command.text;
    return help;
}

std::optional<std::string> CommandHelp(const std::string& command)
{
    for (const SCommandHelp& entry : kCommands) {
        if (command == entry.name)
            return std::string("Usage: varnex-cli ") + entry.text + "\n" + kOutputNote;
    }
    return std::nullopt;
}
