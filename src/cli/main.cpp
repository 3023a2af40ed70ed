#include "cli/CliBoard.h"
#include "cli/CliCommands.h"
#include "cli/CliDups.h"
#include "cli/CliHelp.h"
#include "cli/CliPattern.h"
#include "cli/CliPlayers.h"
#include "cli/QtUtf8Converter.h"
#include "players/PlayerAliases.h"
#include "qtcore/CacheFolder.h"
#include "qtcore/FilterText.h"
#include "qtcore/QtSettingsStore.h"
#include "qtcore/RowDisplay.h"
#include "qtcore/SettingsFileCheck.h"
#include "settings/Settings.h"

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

// The help goes to standard output, which may be full like any other. A
// command's --help gives that command's part alone.
int PrintHelp(const std::string& command = {})
{
    std::cout << CommandHelp(command).value_or(WholeHelp());
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
    // info's game of each file, from 1.
    std::size_t game = 1;
    std::string error;
};

// A game number as the list names games: 1 or more.
bool ParseGameNumber(const std::string& text, std::size_t& game)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1)
        return false;
    game = value;
    return true;
}

CArgs ParseArgs(const std::vector<std::string>& args, bool listOptions, bool utf8Option, bool verboseOption,
                bool gameOption)
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
        } else if (gameOption && (arg == "--game" || arg.rfind("--game=", 0) == 0)) {
            const bool joined = arg != "--game";
            if ((!joined && i + 1 >= args.size()) ||
                !ParseGameNumber(joined ? arg.substr(std::strlen("--game=")) : args[++i], parsed.game)) {
                parsed.error = "--game needs a game number (1 or more)";
                return parsed;
            }
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
            return PrintHelp("board");
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
    if (IsHelp(command) || command == "help")
        return PrintHelp(command == "help" && argc == 3 ? all[1] : std::string());
    const std::vector<std::string> rest(all.begin() + 1, all.end());

    if (command == "board")
        return RunBoardCommand(rest);
    if (command == "dups") {
        if (rest.size() == 1 && IsHelp(rest[0]))
            return PrintHelp(command);
        if (rest.size() != 1 || (rest[0].size() > 1 && rest[0][0] == '-'))
            return UsageError("dups needs exactly one collection file");
        return OutputChecked(RunDups(rest[0], std::cout, std::cerr));
    }
    if (command == "pattern") {
        for (const std::string& arg : rest) {
            if (arg == "--")
                break;
            if (IsHelp(arg))
                return PrintHelp(command);
        }
        // Results are read as the list shows them, so each game's winner
        // is the one the Winner column names.
        CQtUtf8Converter converter;
        return RunPatternCommand(rest, std::cout, std::cerr, HeaderCacheFolder(), &converter);
    }
    if (command == "players") {
        for (const std::string& arg : rest) {
            if (arg == "--")
                break;
            if (IsHelp(arg))
                return PrintHelp(command);
        }
        // The user's aliases and charset for records that name none, as
        // the window reads them; a settings file that is no regular file
        // (a FIFO would block the read) is refused as list refuses it.
        const QString irregular = FirstIrregularFile(UserSettingsFiles());
        if (!irregular.isEmpty()) {
            std::cerr << "varnex-cli: settings file " << QFile::encodeName(irregular).toStdString()
                      << " is not a regular file\n";
            return kExitFailure;
        }
        const CQtSettingsStore store;
        CQtUtf8Converter converter;
        converter.SetNoneCharset(ReadString(store, settings::kNoneCharset));
        CPlayerAliases aliases;
        aliases.Load(store);
        return RunPlayersCommand(rest, std::cout, std::cerr, HeaderCacheFolder(), converter, aliases);
    }
    if (command == "info" || command == "add" || command == "list") {
        const CArgs args = ParseArgs(rest, command == "list", command != "add", command == "add", command == "info");
        CQtUtf8Converter converter;
        IUtf8Converter* utf8 = args.utf8 ? &converter : nullptr;
        if (!args.error.empty())
            return UsageError(args.error);
        if (args.help)
            return PrintHelp(command);
        if (command == "info") {
            if (args.operands.empty())
                return UsageError("info needs at least one file");
            return RunInfo(args.operands, std::cout, std::cerr, utf8, args.game - 1);
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
            struct stat info
            {
            };
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
            const CRowFilter filter = MakeRowFilter(
                QString::fromUtf8(args.filter->data(), static_cast<qsizetype>(args.filter->size())), *store);
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
