#include "cli/CliCommands.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "cli/CliDocHost.h"
#include "cli/CliEscape.h"
#include "cli/CliFileWalk.h"
#include "cli/CliListView.h"
#include "cli/CliUtf8.h"
#include "collection/GameEntry.h"
#include "collection/CollectionFile.h"
#include "collection/GameReader.h"
#include "collection/VarnexDoc.h"
#include "columns/ColumnLayout.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

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

} // namespace

int RunInfo(const std::vector<std::string>& files, std::ostream& out, std::ostream& err, IUtf8Converter* utf8)
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
    };

    CCliDocHost hooks(err);
    std::vector<const CPropertyTable::Item*> items;
    std::vector<std::string> raw;
    std::vector<std::string> values;
    for (const std::string& file : files) {
        CGameEntry entry;
        CPropertyTable& table = entry.m_props;
        const bool ok = ReadGameFile(file, table, hooks);
        AppendEscapedField(text, utf8 ? utf8->PathToUtf8(file) : file);
        text += ok ? "\tok\n" : "\tfail\n";
        if (!ok) {
            const std::string reason = UnreadableReason(file);
            err << "varnex-cli: " << EscapeField(file) << ": " << (reason.empty() ? "not a game record" : reason)
                << '\n';
            continue;
        }
        items.clear();
        for (const CPropertyTable::Item& item : table.Items())
            items.push_back(&item);
        std::sort(items.begin(), items.end(),
                  [](const CPropertyTable::Item* a, const CPropertyTable::Item* b) { return a->first < b->first; });
        if (utf8) {
            raw.clear();
            for (const CPropertyTable::Item* item : items)
                raw.push_back(item->second);
            // Files named one by one have no folder to learn from.
            values = utf8->TextsToUtf8(raw, entry, std::string());
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            text += '\t';
            AppendEscapedField(text, items[i]->first);
            text += '\t';
            AppendEscapedField(text, utf8 ? values[i] : items[i]->second);
            text += '\n';
        }
        if (text.size() >= kFlushBytes)
            flush();
    }
    flush();
    out.flush();
    return kExitOk;
}

int RunAdd(const std::string& collection, const std::vector<std::string>& paths, std::ostream& out,
           std::ostream& err, bool verbose)
{
    CCliDocHost host(err);
    CVarnexDoc doc(host);

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
    doc.m_bBusy = true;
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
            for (const std::string& file : FindGameFiles(path, err))
                if (!AddOne(doc, file, counts) && verbose)
                    err << "varnex-cli: " << EscapeField(file) << ": not a game record\n";
        } else {
            AddOne(doc, path, counts);
        }
    }
    doc.m_bBusy = false;
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
    out.flush();
    return anyMissing ? kExitFailure : kExitOk;
}

int RunList(const std::string& collection, std::optional<bool> fullPath, const ISettingsStore& store,
            std::ostream& out, std::ostream& err, IUtf8Converter* utf8,
            const std::function<bool(const std::vector<std::string>& cells, const CGameEntry* entry,
                                     const std::string& path)>& keep,
            IUtf8Converter* keepDecoder)
{
    CCliDocHost host(err);
    CVarnexDoc doc(host);

    CColumnLayout layout = BuildColumnLayout(store);
    const bool showFullPath = fullPath ? *fullPath : ReadInt(store, settings::kFullPath) != 0;
    CSortState sort;
    sort.m_nColSort = ReadInt(store, settings::kColSort);
    sort.m_nColSortCur = ReadInt(store, settings::kColSortCur);
    sort.m_bByMeaning = ReadInt(store, settings::kSortByMeaning) != 0;

    CCliListView view(doc, std::move(layout.columns), showFullPath, sort, store);
    doc.AddView(&view);
    std::string error;
    const bool loaded = LoadCollectionFile(doc, collection, &error);
    doc.RemoveView(&view);
    if (!loaded) {
        err << "varnex-cli: cannot open collection " << EscapeField(collection) << ": " << error << '\n';
        return kExitFailure;
    }
    // Only a tool that converts has anything to learn; plain bytes need none.
    IUtf8Converter* const keepConverter = keep ? keepDecoder : nullptr;
    for (IUtf8Converter* converter : {utf8, keepConverter == utf8 ? nullptr : keepConverter})
        if (converter)
            doc.m_mapFiles.ForEach(
                [converter](const std::string& path, const CGameEntry& entry) { converter->NoteRecord(path, entry); });
    const std::string text = view.ExportText(utf8, keep, keepDecoder);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return out ? kExitOk : kExitFailure;
}
