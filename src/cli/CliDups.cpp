#include "cli/CliDups.h"

#include "cli/CliCommands.h"
#include "cli/CliDocHost.h"
#include "cli/CliEscape.h"
#include "collection/CollectionFile.h"
#include "collection/DuplicateFinder.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "report/ReportRows.h"

#include <ostream>
#include <unordered_set>

int RunDups(const std::string& collection, std::ostream& out, std::ostream& err)
{
    CCliDocHost host(err);
    CVarnexDoc doc(host);
    std::string error;
    if (!LoadCollectionFile(doc, collection, &error)) {
        err << "varnex-cli: cannot open collection " << EscapeField(collection) << ": " << error << '\n';
        return kExitFailure;
    }
    // The files the collection could read; the others hold no game to compare.
    // Each game of a file of several is a game of its own.
    CDuplicateFinder finder;
    CDuplicateFinder::CFiles files;
    files.reserve(doc.m_mapFiles.size());
    std::unordered_set<const std::string*> several;
    doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
        files.push_back(finder.Track(path));
        if (entry.GameCount() > 1)
            several.insert(files.back());
    });
    doc.DeleteContents();
    // Named by the finder's own copies, which the path table does not outlive.
    const auto groups = finder.FindGroups(
        files, host, [&finder, &several](const std::string& path) { return several.count(finder.Track(path)) > 0; });
    std::string text;
    for (const CDuplicateGroup& group : groups.value_or(std::vector<CDuplicateGroup>{})) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (i > 0)
                text += '\t';
            AppendEscapedField(text, group[i].path);
            // A game of a file of several is named as the list names its row.
            if (finder.GameCount(group[i].path) > 1)
                text += GameNumberSuffix(group[i].game);
        }
        text += '\n';
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    return out ? kExitOk : kExitFailure;
}
