#include "cli/CliCommands.h"

#include "cache/HeaderCache.h"
#include "cli/CliDocHost.h"
#include "cli/CliEscape.h"
#include "cli/CliFileWalk.h"
#include "cli/CliListView.h"
#include "cli/CliUtf8.h"
#include "collection/CollectionFile.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "columns/ColumnLayout.h"
#include "files/CollectionLock.h"
#include "pattern/PositionRow.h"
#include "reader/GameReader.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <new>
#include <ostream>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct CAddCounts
{
    long long added = 0;
    long long alreadyPresent = 0;
    long long unreadable = 0;
};

// Counts what loading a collection announces and what it really adds, so the
// tool can say when stored game files could not be read again.
class CLoadCounter : public IDocView
{
public:
    void OnUpdate(int hint, const CHintPayload& payload) override
    {
        if (hint == hintLoadCount)
            announced = payload.count;
        else if (hint == hintFileAdded)
            ++added;
    }

    long long announced = 0;
    long long added = 0;
};

bool AddOne(CVarnexDoc& doc, const std::string& path, CAddCounts& counts)
{
    if (doc.m_mapFiles.Find(path))
        ++counts.alreadyPresent;
    else if (doc.AddGameFile(path, 0))
        ++counts.added;
    else
        return ++counts.unreadable, false;
    return true;
}

// Why a path cannot be read at all, or empty when it can be opened.
std::string UnreadableReason(const std::string& path)
{
    if (path.empty())
        return std::error_code(ENOENT, std::generic_category()).message();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::error_code(errno, std::generic_category()).message();
    ::close(fd);
    return {};
}

// Another add on the same collection finishes first: its save is what this
// one reads. A short wait passes in silence; a longer one is named once.
void LockCollection(CCollectionLock& lock, const std::string& collection, std::ostream& err)
{
    using namespace std::chrono;
    const auto start = steady_clock::now();
    while (steady_clock::now() - start < seconds(1)) {
        if (lock.TryLock() != CCollectionLock::EState::Busy)
            return; // locked, or no lock can be had here (then the save says why it fails)
        std::this_thread::sleep_for(milliseconds(20));
    }
    err << "varnex-cli: waiting for another program to finish with " << EscapeField(collection) << '\n';
    err.flush();
    lock.Lock();
}

// Standard output could not take everything (a full disk, /dev/full): the
// command fails, whatever it did besides.
int WithOutputChecked(std::ostream& out, std::ostream& err, int status)
{
    out.flush();
    if (out)
        return status;
    err << "varnex-cli: cannot write to standard output\n";
    return kExitFailure;
}

// The info lines of one read file.
void AppendInfoLines(std::string& text, const CGameEntry& entry, IUtf8Converter* utf8)
{
    // Views into the entry's table, which outlives them.
    std::vector<CPropertyTable::Item> items(entry.m_props.Items().begin(), entry.m_props.Items().end());
    // A root node holds a dozen properties or so: an insertion sort keeps
    // equal identifiers in their order without the buffer a stable sort
    // allocates for every file.
    for (std::size_t i = 1; i < items.size(); ++i) {
        const CPropertyTable::Item item = items[i];
        std::size_t j = i;
        for (; j > 0 && item.first < items[j - 1].first; --j)
            items[j] = items[j - 1];
        items[j] = item;
    }
    std::vector<std::string> values;
    if (utf8) {
        std::vector<std::string> raw;
        for (const CPropertyTable::Item& item : items)
            raw.emplace_back(item.second);
        values = utf8->TextsToUtf8(raw, entry, std::string()); // files named one by one: no folder to learn from
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += '\t';
        AppendEscapedField(text, items[i].first);
        text += '\t';
        AppendEscapedField(text, utf8 ? std::string_view(values[i]) : items[i].second);
        text += '\n';
    }
}

// Reads the root node of the game-th game of file into table. The reading
// stops at that game. missing says why when the file was read but holds
// fewer games.
bool ReadGameOf(const std::string& file, std::size_t game, CPropertyTable& table, CCliDocHost& hooks,
                std::string& missing)
{
    if (game == 0)
        return ReadGameFile(file, table, hooks);
    hooks.BeforeRead();
    SMoreGames more;
    more.most = game;
    if (!ReadGameFileContents(file, table, hooks, nullptr, nullptr, &more))
        return false;
    if (more.tables.size() < game) {
        const std::size_t count = 1 + more.tables.size();
        missing = "no game " + std::to_string(game + 1) + ": the file holds " + std::to_string(count) +
                  (count == 1 ? " game" : " games");
        return false;
    }
    table = std::move(more.tables[game - 1]);
    return true;
}

} // namespace

int RunInfo(const std::vector<std::string>& files, std::ostream& out, std::ostream& err, IUtf8Converter* utf8,
            std::size_t game)
{
    // The lines of many files gather in one buffer that goes out in large
    // writes: formatting each value through the stream cost more than
    // reading the file it came from.
    constexpr std::size_t kFlushBytes = std::size_t{1} << 20;
    std::string text;
    text.reserve(kFlushBytes + 64 * 1024);
    const auto flush = [&] {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
        return static_cast<bool>(out);
    };

    CCliDocHost hooks(err);
    bool anyMissing = false;
    for (const std::string& file : files) {
        const std::size_t lineStart = text.size();
        std::string reason;
        try {
            CGameEntry entry;
            const bool ok = ReadGameOf(file, game, entry.m_props, hooks, reason);
            anyMissing = anyMissing || !reason.empty();
            if (reason.empty())
                reason = hooks.TakeReason();
            else
                hooks.TakeReason();
            AppendEscapedField(text, utf8 ? utf8->PathToUtf8(file) : file);
            text += ok ? "\tok\n" : "\tfail\n";
            if (ok)
                AppendInfoLines(text, entry, utf8);
        } catch (const std::bad_alloc&) {
            // The lines of this file do not fit in the memory left; the
            // files before it have theirs, and the next ones are tried.
            text.resize(lineStart);
            text.shrink_to_fit();
            AppendEscapedField(text, file);
            text += "\tfail\n";
            reason = "out of memory";
        }
        if (!reason.empty())
            err << "varnex-cli: " << EscapeField(file) << ": " << reason << '\n';
        if (text.size() >= kFlushBytes && !flush())
            break;
    }
    flush();
    return WithOutputChecked(out, err, anyMissing ? kExitFailure : kExitOk);
}

int RunAdd(const std::string& collection, const std::vector<std::string>& paths, std::ostream& out, std::ostream& err,
           bool verbose, const std::string& cacheFolder)
{
    CCliDocHost host(err);
    CVarnexDoc doc(host);
    doc.SetHeaderCache(CHeaderCache::Open(cacheFolder, collection));
    // The positions of each game file read go into the cache beside its
    // values, so a search over the collection reads no game file.
    doc.SetPositionRowBuilder(BuildPositionRow);

    // Held from the read to the save: two adds at once would each save what
    // they read plus their own files, and the first one's additions would be lost.
    CCollectionLock lock(collection);
    LockCollection(lock, collection, err);

    std::error_code ec;
    const bool exists = fs::status(collection, ec).type() != fs::file_type::not_found;
    if (exists) {
        CLoadCounter counter;
        doc.AddView(&counter);
        std::string error;
        const bool loaded = LoadCollectionFile(doc, collection, &error);
        doc.RemoveView(&counter);
        if (!loaded) {
            err << "varnex-cli: cannot read collection " << EscapeField(collection) << ": " << error << '\n';
            return kExitFailure;
        }
        if (!doc.m_unread.empty())
            err << "varnex-cli: note: " << doc.m_unread.size()
                << " stored game file(s) could not be read again; they are kept in the collection\n";
        doc.SetModifiedFlag(false);
    }

    CAddCounts counts;
    bool anyMissing = false;
    bool anyRead = false;
    {
        CVarnexDoc::CBusyScope busy(doc);
        for (const std::string& arg : paths) {
            const std::string path = arg.empty() ? std::string() : CollectionPathFor(arg);
            if (const std::string reason = UnreadableReason(path); !reason.empty()) {
                err << "varnex-cli: " << EscapeField(arg) << ": " << reason << '\n';
                anyMissing = true;
                continue;
            }
            anyRead = true;
            std::error_code statusError;
            if (fs::is_directory(fs::status(path, statusError))) {
                for (const std::string& file : FindGameFiles(path, err, &counts.unreadable)) {
                    host.TakeReason();
                    if (!AddOne(doc, file, counts) && verbose) {
                        if (const std::string reason = host.TakeReason(); !reason.empty())
                            err << "varnex-cli: " << EscapeField(file) << ": " << reason << '\n';
                    }
                }
            } else {
                AddOne(doc, path, counts);
            }
        }
    }
    doc.UpdateAllViews(hintBatchDone);

    // An unchanged collection is not rewritten: its file keeps even the
    // records whose game files could not be read this time.
    // Nothing is written when no named path could be read at all.
    if (doc.IsModified() || (!exists && anyRead)) {
        std::string error;
        if (!SaveCollectionFile(doc, collection, &error)) {
            err << "varnex-cli: cannot write collection " << EscapeField(collection) << ": " << error << '\n';
            return kExitFailure;
        }
    }
    out << "added " << counts.added << ", already present " << counts.alreadyPresent << ", unreadable "
        << counts.unreadable << '\n';
    return WithOutputChecked(out, err, anyMissing ? kExitFailure : kExitOk);
}

int RunList(const std::string& collection, std::optional<bool> fullPath, const ISettingsStore& store, std::ostream& out,
            std::ostream& err, IUtf8Converter* utf8,
            const std::function<bool(const std::vector<std::string>& cells, const CGameEntry* entry,
                                     const std::string& path)>& keep,
            IUtf8Converter* keepDecoder, const std::string& cacheFolder, bool escape)
{
    CCliDocHost host(err);
    CVarnexDoc doc(host);
    doc.SetHeaderCache(CHeaderCache::Open(cacheFolder, collection));
    // The positions of each game file read go into the cache beside its
    // values, so a search over the collection reads no game file.
    doc.SetPositionRowBuilder(BuildPositionRow);

    CColumnLayout layout = BuildColumnLayout(store);
    const bool showFullPath = fullPath ? *fullPath : ReadInt(store, settings::kFullPath) != 0;
    CSortState sort;
    sort.m_nColSort = ReadInt(store, settings::kColSort);
    sort.m_nColSortCur = ReadInt(store, settings::kColSortCur);
    sort.m_bByMeaning = ReadInt(store, settings::kSortByMeaning) != 0;

    // The window compares the user's names with the names as it shows them.
    CCliListView view(doc, std::move(layout.columns), showFullPath, sort, store, keepDecoder);
    doc.AddView(&view);
    std::string error;
    const bool loaded = LoadCollectionFile(doc, collection, &error);
    doc.FlushHeaderCache();
    doc.RemoveView(&view);
    if (!loaded) {
        err << "varnex-cli: cannot open collection " << EscapeField(collection) << ": " << error << '\n';
        return kExitFailure;
    }
    // Only a tool that converts has anything to learn; plain bytes need none.
    IUtf8Converter* const keepConverter = keep ? keepDecoder : nullptr;
    for (IUtf8Converter* converter : {utf8, keepConverter == utf8 ? nullptr : keepConverter})
        if (converter)
            doc.m_mapFiles.ForEach([converter](const std::string& path, const CGameEntry& entry) {
                for (std::size_t game = 0; game < entry.GameCount(); ++game)
                    converter->NoteRecord(path, entry.Game(game));
            });
    const std::string text = view.ExportText(utf8, keep, keepDecoder, escape);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return WithOutputChecked(out, err, kExitOk);
}
