#include "cli/CliCommands.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "cli/CliDocHost.h"
#include "cli/CliEscape.h"
#include "cli/CliFileWalk.h"
#include "cli/CliListView.h"
#include "collection/CollectionFile.h"
#include "collection/GameReader.h"
#include "collection/VarnexDoc.h"
#include "columns/ColumnLayout.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

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

void AddOne(CVarnexDoc& doc, const std::string& path, CAddCounts& counts)
{
    if (doc.m_mapFiles.Find(path))
        ++counts.alreadyPresent;
    else if (doc.AddGameFile(path, 0))
        ++counts.added;
    else
        ++counts.unreadable;
}

} // namespace

int RunInfo(const std::vector<std::string>& files, std::ostream& out, std::ostream& err)
{
    CCliDocHost hooks(err);
    for (const std::string& file : files) {
        CPropertyTable table;
        const bool ok = ReadGameFile(file, table, hooks);
        out << EscapeField(file) << (ok ? "\tok\n" : "\tfail\n");
        if (!ok)
            continue;
        std::vector<const CPropertyTable::Item*> items;
        items.reserve(table.size());
        for (const CPropertyTable::Item& item : table.Items())
            items.push_back(&item);
        std::sort(items.begin(), items.end(),
                  [](const CPropertyTable::Item* a, const CPropertyTable::Item* b) { return a->first < b->first; });
        for (const CPropertyTable::Item* item : items)
            out << '\t' << EscapeField(item->first) << '\t' << EscapeField(item->second) << '\n';
    }
    out.flush();
    return kExitOk;
}

int RunAdd(const std::string& collection, const std::vector<std::string>& paths, std::ostream& out,
           std::ostream& err)
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
        if (counter.announced > counter.added)
            err << "varnex-cli: note: " << (counter.announced - counter.added)
                << " stored game file(s) could not be read again and are left out\n";
        doc.SetModifiedFlag(false);
    }

    CAddCounts counts;
    doc.m_bBusy = true;
    for (const std::string& arg : paths) {
        if (arg.empty()) {
            ++counts.unreadable;
            continue;
        }
        const std::string path = CollectionPathFor(arg);
        std::error_code statusError;
        if (fs::is_directory(fs::status(path, statusError))) {
            for (const std::string& file : FindGameFiles(path, err))
                AddOne(doc, file, counts);
        } else {
            AddOne(doc, path, counts);
        }
    }
    doc.m_bBusy = false;
    doc.UpdateAllViews(hintBatchDone);

    // An unchanged collection is not rewritten: its file keeps even the
    // records whose game files could not be read this time.
    if (doc.IsModified() || !exists) {
        std::string error;
        if (!SaveCollectionFile(doc, collection, &error)) {
            err << "varnex-cli: cannot write collection " << EscapeField(collection) << ": " << error << '\n';
            return kExitFailure;
        }
    }
    out << "added " << counts.added << ", already present " << counts.alreadyPresent << ", unreadable "
        << counts.unreadable << '\n';
    out.flush();
    return kExitOk;
}

int RunList(const std::string& collection, std::optional<bool> fullPath, const ISettingsStore& store,
            std::ostream& out, std::ostream& err)
{
    CCliDocHost host(err);
    CVarnexDoc doc(host);

    CColumnLayout layout = BuildColumnLayout(store);
    const bool showFullPath = fullPath ? *fullPath : ReadInt(store, settings::kFullPath) != 0;
    CSortState sort;
    sort.m_nColSort = ReadInt(store, settings::kColSort);
    sort.m_nColSortCur = ReadInt(store, settings::kColSortCur);

    CCliListView view(doc, std::move(layout.columns), showFullPath, sort, store);
    doc.AddView(&view);
    std::string error;
    const bool loaded = LoadCollectionFile(doc, collection, &error);
    doc.RemoveView(&view);
    if (!loaded) {
        err << "varnex-cli: cannot open collection " << EscapeField(collection) << ": " << error << '\n';
        return kExitFailure;
    }
    const std::string text = view.ExportText();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return out ? kExitOk : kExitFailure;
}
