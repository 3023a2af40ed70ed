#include "cli/CliPattern.h"

#include "cache/HeaderCache.h"
#include "cli/CliCommands.h"
#include "cli/CliDocHost.h"
#include "cli/CliEscape.h"
#include "collection/CollectionFile.h"
#include "collection/CollectionPositionIndex.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "pattern/Pattern.h"
#include "pattern/PatternSearch.h"
#include "pattern/PositionRow.h"
#include "reader/GameRecordReader.h"
#include "report/ReportRows.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>
#include <ostream>
#include <string_view>

namespace {

struct SPatternArgs
{
    std::string collection;
    bool fixedColours = false;
    bool continuations = false;
    std::optional<std::string> region;
    std::optional<std::string> rows;
    std::optional<std::string> from;
    std::optional<int> move;
    std::optional<std::string> batch;
};

// An option's value, given as "--name VALUE" or "--name=VALUE".
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const char* name,
               std::optional<std::string>& value, std::string& error)
{
    const std::string& arg = args[i];
    const std::size_t length = std::strlen(name);
    if (arg == name) {
        if (i + 1 >= args.size()) {
            error = std::string(name) + " needs a value";
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.size() > length && arg.compare(0, length, name) == 0 && arg[length] == '=') {
        value = arg.substr(length + 1);
        return true;
    }
    return false;
}

std::optional<SPatternArgs> ParsePatternArgs(const std::vector<std::string>& args, std::string& error)
{
    SPatternArgs parsed;
    std::vector<std::string> operands;
    std::optional<std::string> move;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--fixed-colours") {
            parsed.fixedColours = true;
        } else if (arg == "--continuations") {
            parsed.continuations = true;
        } else if (!TakeValue(args, i, "--region", parsed.region, error) &&
                   !TakeValue(args, i, "--rows", parsed.rows, error) &&
                   !TakeValue(args, i, "--from", parsed.from, error) && !TakeValue(args, i, "--move", move, error) &&
                   !TakeValue(args, i, "--batch", parsed.batch, error)) {
            error = "unknown option " + arg;
        }
    }
    if (!error.empty())
        return std::nullopt;
    if (operands.size() != 1) {
        error = "pattern needs exactly one collection file";
        return std::nullopt;
    }
    parsed.collection = operands.front();
    if (move) {
        int value = 0;
        const auto [end, failure] = std::from_chars(move->data(), move->data() + move->size(), value);
        if (move->empty() || failure != std::errc() || end != move->data() + move->size() || value < 0) {
            error = "--move needs a move number (0 or more)";
            return std::nullopt;
        }
        parsed.move = value;
    }
    if (parsed.batch) {
        if (parsed.region || parsed.rows || parsed.from || parsed.move || parsed.fixedColours)
            error = "--batch takes its queries from the file alone";
    } else if (!parsed.region) {
        error = "pattern needs --region with --rows or --from, or --batch";
    } else if (parsed.rows.has_value() == parsed.from.has_value()) {
        error = "pattern needs either --rows or --from";
    } else if (parsed.move && !parsed.from) {
        error = "--move goes with --from";
    }
    if (!error.empty())
        return std::nullopt;
    return parsed;
}

// The words of a line split at blanks.
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r'))
            ++at;
        std::size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r')
            ++end;
        if (end > at)
            words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// The queries of a batch file, or the reason there are none.
std::vector<SPattern> ReadBatch(const std::string& file, std::string& error)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read batch file " + EscapeField(file) + ": " + std::strerror(errno);
        return {};
    }
    std::vector<SPattern> patterns;
    std::size_t lineNumber = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::vector<std::string_view> words = Words(line);
        if (words.empty())
            continue;
        if (words.size() < 2 || words.size() > 3 || (words.size() == 3 && words[2] != "fixed")) {
            error = "batch line " + std::to_string(lineNumber) + ": not RECT ROWS [fixed]";
            return {};
        }
        SPatternParse parse = ParsePattern(words[0], words[1], SGameRecord::kDefaultSize, words.size() == 3);
        if (!parse.pattern) {
            error = "batch line " + std::to_string(lineNumber) + ": " + parse.error;
            return {};
        }
        patterns.push_back(std::move(*parse.pattern));
    }
    if (in.bad()) {
        error = "cannot read batch file " + EscapeField(file) + ": " + std::strerror(errno);
        return {};
    }
    return patterns;
}

std::vector<SPattern> ReadQueries(const SPatternArgs& args, std::string& error)
{
    if (args.batch)
        return ReadBatch(*args.batch, error);
    SPatternParse parse;
    if (args.rows) {
        parse = ParsePattern(*args.region, *args.rows, SGameRecord::kDefaultSize, args.fixedColours);
    } else {
        const SGameRecord game = ReadGameRecordFile(*args.from);
        if (!game.HasGame()) {
            error = "cannot read the game of " + EscapeField(*args.from);
            return {};
        }
        parse = PatternFromGame(game, *args.region, args.move, args.fixedColours);
    }
    if (!parse.pattern) {
        error = parse.error;
        return {};
    }
    return {std::move(*parse.pattern)};
}

// How each game of the index is named: its path, and for a game of a file of
// several games its number as the list's cell gives it ("PATH #N").
std::vector<std::string> GameNames(const CVarnexDoc& doc, const SCollectionIndex& loaded)
{
    std::vector<std::string> names(loaded.paths.begin(), loaded.paths.end());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const CGameEntry* entry = doc.m_mapFiles.Find(loaded.paths[i]);
        if (entry && entry->GameCount() > 1)
            names[i] += GameNumberSuffix(loaded.games[i]);
    }
    return names;
}

void WriteAnswer(const SPatternResult& result, const SCollectionIndex& loaded, const std::vector<std::string>& names,
                 bool continuations, std::string& text)
{
    if (continuations) {
        for (const SContinuationStats& row : result.continuations) {
            text += SgfPointName(row.x, row.y);
            text += row.colour == EStone::Black ? "\tB\t" : "\tW\t";
            text += std::to_string(row.games) + '\t' + std::to_string(row.blackWins) + '\t' +
                    std::to_string(row.whiteWins) + '\n';
        }
        return;
    }
    std::vector<const SPatternHit*> hits;
    hits.reserve(result.hits.size());
    for (const SPatternHit& hit : result.hits)
        hits.push_back(&hit);
    // By path, and the games of one file in file order (game 10 after game 9).
    std::sort(hits.begin(), hits.end(), [&loaded](const SPatternHit* a, const SPatternHit* b) {
        const std::string& pathA = loaded.paths[a->game];
        const std::string& pathB = loaded.paths[b->game];
        return pathA != pathB ? pathA < pathB : loaded.games[a->game] < loaded.games[b->game];
    });
    for (const SPatternHit* hit : hits) {
        AppendEscapedField(text, names[hit->game]);
        text += '\t' + std::to_string(hit->firstHit) + '\n';
    }
}

} // namespace

int RunPatternCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const std::string& cacheFolder, IShownText* shown)
{
    std::string error;
    const std::optional<SPatternArgs> parsed = ParsePatternArgs(args, error);
    if (!parsed) {
        err << "varnex-cli: " << error << " (see varnex-cli pattern --help)\n";
        return kExitUsage;
    }
    const std::vector<SPattern> queries = ReadQueries(*parsed, error);
    if (!error.empty()) {
        err << "varnex-cli: pattern: " << error << '\n';
        return kExitUsage;
    }

    CCliDocHost host(err);
    CVarnexDoc doc(host);
    doc.SetHeaderCache(CHeaderCache::Open(cacheFolder, parsed->collection));
    doc.SetPositionRowBuilder(BuildPositionRow);
    std::string loadError;
    if (!LoadCollectionFile(doc, parsed->collection, &loadError)) {
        err << "varnex-cli: cannot open collection " << EscapeField(parsed->collection) << ": " << loadError << '\n';
        return kExitFailure;
    }

    const SCollectionIndex loaded = LoadCollectionIndex(doc, shown);
    doc.FlushHeaderCache();

    const std::vector<std::string> names = GameNames(doc, loaded);
    std::string text;
    for (std::size_t i = 0; i < queries.size(); ++i) {
        if (parsed->batch)
            text += "#\t" + std::to_string(i + 1) + '\n';
        WriteAnswer(SearchPattern(loaded.index, queries[i]), loaded, names, parsed->continuations, text);
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
        err << "varnex-cli: cannot write to standard output\n";
        return kExitFailure;
    }
    return kExitOk;
}
