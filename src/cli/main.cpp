#include "qtcore/CacheFolder.h"
#include "qtcore/FilterText.h"
#include "qtcore/RowDisplay.h"
#include "settings/Settings.h"
#include "qtcore/QtSettingsStore.h"
#include "qtcore/SettingsFileCheck.h"
#include "cli/CliBoard.h"
#include "cli/CliDups.h"
#include "cli/CliCommands.h"
#include "cli/QtUtf8Converter.h"

#include <QFile>
#include <QString>

#include <charconv>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr const char* kHelp = R"(Usage:
  varnex-cli info [--utf8] FILE...
  varnex-cli add [--verbose] COLLECTION.vnx PATH... [--no-cache]
  varnex-cli list COLLECTION.vnx [--full-path | --no-full-path] [--settings FILE] [--utf8]
                 [--filter TEXT] [--no-cache] [--escape]
  varnex-cli board [--move N | --start] [--pretty] FILE...
  varnex-cli dups COLLECTION.vnx
  varnex-cli --help

Every command exits 1 when its standard output cannot be written whole
(a full disk).

info [--utf8] FILE...
  Reads the game-information properties (the root node) of each game file.
  Writes one line "PATH<TAB>ok" or "PATH<TAB>fail" per file; after an ok line
  one line "<TAB>ID<TAB>VALUE" per property, in bytewise order of ID. In PATH,
  ID and VALUE a backslash is written \\, TAB \t, LF \n, CR \r, every other
  byte below 0x20 and 0x7F as \xHH; all other bytes as they are. The reason
  of each fail is written on stderr. Exit 0.
  With --utf8, PATH and VALUE are converted to UTF-8 first, as the list
  shows them: the record's CA charset, else UTF-8, else the detected one,
  else Latin-1; the path as the list shows file names (UTF-8, a byte that
  is not UTF-8 as its Latin-1 character).

add [--verbose] COLLECTION.vnx PATH... [--no-cache]
  Adds game files to the collection file; a missing collection file is
  created. A PATH that is a file is added whatever its name; a folder is
  walked recursively, entries in bytewise name order, taking the files whose
  names end in .sgf, .mgt or .gph in any letter case (folders reached through
  symbolic links are not entered). Paths are stored absolute and lexically
  normalised ("." and ".." removed, symbolic links kept), as the desktop
  program's Add dialog stores them. Opening the collection reads every game
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

list COLLECTION.vnx [--full-path | --no-full-path] [--settings FILE] [--utf8]
     [--filter TEXT] [--no-cache] [--escape]
  Writes exactly the bytes the Export command writes right after the
  collection is opened in the details style: one line per game, in the
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
  result:, date:, or a property identifier (PB:, EV:, RO:, PC: ...).
  date: takes 2016, 2016-03, 2016-03-05 or a range 2016..2019, ..1990,
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

board [--move N | --start] [--pretty] FILE...
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

dups COLLECTION.vnx
  Finds the game files of the collection that hold one game: the same setup
  stones and moves of the main line on the same board, also rotated or
  mirrored (colours never swapped); comments, variations and the game
  information do not count. A copy cut short of 50 moves or more goes with
  the longest game it is the start of. Games of fewer than 20 moves are one
  game only when their players (PB, PW) and date (DT) are equal too.
  Writes one line per group: its paths, escaped as info escapes them,
  separated by TAB; first the copy to keep (the most moves, then one with
  comments, then the oldest file), the others in the same order. Groups in
  bytewise order of their first path. Nothing when there are none. Exit 0,
  1 when the collection cannot be opened, 2 on bad arguments.
)";

// Standard output that could not take everything (a full disk) fails the
// command, whatever else it did.
int OutputChecked(int status)
{
    std::cout.flush();
    if (std::cout)
        return status;
    std::cerr << "varnex-cli: cannot write to standard output\n";
    return kExitFailure;
}

// The help goes to standard output, which may be full like any other.
int PrintHelp()
{
    std::cout << kHelp;
    std::cout.flush();
    if (std::cout)
        return kExitOk;
    std::cerr << "varnex-cli: cannot write to standard output\n";
    return kExitFailure;
}

int UsageError(const std::string& message)
{
    std::cerr << "varnex-cli: " << message << " (see varnex-cli --help)\n";
    return kExitUsage;
}

bool IsHelp(const std::string& arg)
{
    return arg == "--help" || arg == "-h";
}

// Arguments after the command: options up to "--", operands otherwise. An
// option the command does not know is a usage error.
struct CArgs
{
    std::vector<std::string> operands;
    bool help = false;
    std::optional<bool> fullPath;
    std::optional<std::string> settingsFile;
    bool utf8 = false;
    bool verbose = false;
    bool noCache = false;
    std::optional<std::string> filter;
    bool escape = false;
    std::string error;
};

CArgs ParseArgs(const std::vector<std::string>& args, bool listOptions, bool utf8Option, bool verboseOption)
{
    CArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (IsHelp(arg)) {
            parsed.help = true;
        } else if ((listOptions || verboseOption) && arg == "--no-cache") {
            parsed.noCache = true;
        } else if (verboseOption && arg == "--verbose") {
            parsed.verbose = true;
        } else if (utf8Option && arg == "--utf8") {
            parsed.utf8 = true;
        } else if (listOptions && arg == "--full-path") {
            parsed.fullPath = true;
        } else if (listOptions && arg == "--no-full-path") {
            parsed.fullPath = false;
        } else if (listOptions && arg == "--settings") {
            if (i + 1 >= args.size()) {
                parsed.error = "--settings needs a file name";
                return parsed;
            }
            parsed.settingsFile = args[++i];
        } else if (listOptions && arg.rfind("--settings=", 0) == 0) {
            parsed.settingsFile = arg.substr(std::strlen("--settings="));
        } else if (listOptions && arg == "--filter") {
            if (i + 1 >= args.size()) {
                parsed.error = "--filter needs a text";
                return parsed;
            }
            parsed.filter = args[++i];
        } else if (listOptions && arg.rfind("--filter=", 0) == 0) {
            parsed.filter = arg.substr(std::strlen("--filter="));
        } else if (listOptions && arg == "--escape") {
            parsed.escape = true;
        } else {
            parsed.error = "unknown option " + arg;
            return parsed;
        }
    }
    if (parsed.settingsFile && parsed.settingsFile->empty())
        parsed.error = "--settings needs a file name";
    return parsed;
}

// board [--move N | --start] [--pretty] FILE...
int RunBoardCommand(const std::vector<std::string>& args)
{
    std::optional<int> move;
    bool start = false;
    bool pretty = false;
    bool optionsEnded = false;
    std::vector<std::string> files;
    const auto parseMove = [&move](const std::string& text) {
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
            return false;
        move = value;
        return true;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (IsHelp(arg)) {
            return PrintHelp();
        } else if (arg == "--pretty") {
            pretty = true;
        } else if (arg == "--start") {
            start = true;
        } else if (arg == "--move") {
            if (i + 1 >= args.size() || !parseMove(args[++i]))
                return UsageError("--move needs a move number (0 or more)");
        } else if (arg.rfind("--move=", 0) == 0) {
            if (!parseMove(arg.substr(std::strlen("--move="))))
                return UsageError("--move needs a move number (0 or more)");
        } else {
            return UsageError("unknown option " + arg);
        }
    }
    if (start && move)
        return UsageError("--move and --start exclude each other");
    if (files.empty())
        return UsageError("board needs at least one file");
    if (start)
        move = 0;
    return OutputChecked(RunBoard(files, move, pretty, std::cout, std::cerr));
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> all(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (all.empty())
        return UsageError("no command given");
    const std::string& command = all.front();
    if (IsHelp(command) || command == "help") {
        return PrintHelp();
    }
    const std::vector<std::string> rest(all.begin() + 1, all.end());

    if (command == "board")
        return RunBoardCommand(rest);
    if (command == "dups") {
        if (rest.size() == 1 && IsHelp(rest[0])) {
            std::cout << kHelp;
            return kExitOk;
        }
        if (rest.size() != 1 || (rest[0].size() > 1 && rest[0][0] == '-'))
            return UsageError("dups needs exactly one collection file");
        return OutputChecked(RunDups(rest[0], std::cout, std::cerr));
    }
    if (command == "info" || command == "add" || command == "list") {
        const CArgs args = ParseArgs(rest, command == "list", command != "add", command == "add");
        CQtUtf8Converter converter;
        IUtf8Converter* utf8 = args.utf8 ? &converter : nullptr;
        if (!args.error.empty())
            return UsageError(args.error);
        if (args.help) {
            return PrintHelp();
        }
        if (command == "info") {
            if (args.operands.empty())
                return UsageError("info needs at least one file");
            return RunInfo(args.operands, std::cout, std::cerr, utf8);
        }
        if (command == "add") {
            if (args.operands.size() < 2)
                return UsageError("add needs a collection file and at least one path");
            const std::vector<std::string> paths(args.operands.begin() + 1, args.operands.end());
            return RunAdd(args.operands.front(), paths, std::cout, std::cerr, args.verbose,
                          args.noCache ? std::string() : HeaderCacheFolder());
        }
        if (args.operands.size() != 1)
            return UsageError("list needs exactly one collection file");
        std::unique_ptr<CQtSettingsStore> store;
        if (args.settingsFile) {
            // A mistyped name would otherwise list with every setting at its
            // default; a folder the same. A pipe or a device would block the
            // read or feed it for ever. stat() asks without opening.
            const QString file = QFile::decodeName(QByteArray::fromStdString(*args.settingsFile));
            struct stat info {};
            if (::stat(args.settingsFile->c_str(), &info) != 0)
                return UsageError("settings file " + *args.settingsFile + " does not exist");
            if (!S_ISREG(info.st_mode))
                return UsageError("settings file " + *args.settingsFile + " is not a regular file");
            store = std::make_unique<CQtSettingsStore>(file);
        } else {
            const QString irregular = FirstIrregularFile(UserSettingsFiles());
            if (!irregular.isEmpty()) {
                std::cerr << "varnex-cli: settings file " << QFile::encodeName(irregular).toStdString()
                          << " is not a regular file\n";
                return kExitFailure;
            }
            store = std::make_unique<CQtSettingsStore>();
        }
        converter.SetNoneCharset(ReadString(*store, settings::kNoneCharset));
        std::function<bool(const std::vector<std::string>&, const CGameEntry*, const std::string&)> keep;
        if (args.filter) {
            // The typed text is read as the terminal gives it (UTF-8).
            const CRowFilter filter = MakeRowFilter(QString::fromUtf8(args.filter->data(),
                                                                      static_cast<qsizetype>(args.filter->size())));
            for (const std::string& problem : filter.Problems())
                std::cerr << "varnex-cli: --filter: " << problem << "\n";
            if (!filter.IsEmpty()) {
                const ISettingsStore& settings = *store;
                CDisplayDecoder& fieldDecoder = converter.Decoder();
                keep = [filter, &settings, &fieldDecoder](const std::vector<std::string>& cells,
                                                          const CGameEntry* entry, const std::string& path) {
                    CSearchText text;
                    text.cells = FoldedRowText(cells);
                    AddSearchFields(text, filter, entry, settings, fieldDecoder, FolderOf(path));
                    return filter.Matches(text);
                };
            }
        }
        return RunList(args.operands.front(), args.fullPath, *store, std::cout, std::cerr, utf8, keep, &converter,
                       args.noCache ? std::string() : HeaderCacheFolder(), args.escape);
    }
    return UsageError("unknown command " + command);
}
