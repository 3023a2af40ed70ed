#include "sample/SampleCollection.h"

#include "sample/SampleGames.h"

#include "collection/CollectionFile.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// Collects the binary reader's file errors instead of showing them.
class CSampleDocHost : public IDocHost
{
public:
    void ReportFileError(const std::string& path, const std::string& message) override
    {
        m_error = path + ": " + message;
    }
    std::string m_error;
};

bool WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}
} // namespace

bool WriteSampleCollection(const fs::path& folder, CSampleCounts& counts, std::string& error)
{
    counts = {};
    std::error_code ec;
    const fs::path root = fs::absolute(folder, ec).lexically_normal();
    const fs::path games = root / "games";
    // Only the folder of the samples is replaced, never anything beside it.
    fs::remove_all(games, ec);
    if (ec) {
        error = "cannot remove " + games.string() + ": " + ec.message();
        return false;
    }

    CSampleDocHost host;
    CVarnexDoc doc(host);
    for (const CSampleGame& game : SampleGames()) {
        const fs::path path = games / game.name;
        fs::create_directories(path.parent_path(), ec);
        if (ec || !WriteFile(path, game.bytes)) {
            error = "cannot write " + path.string();
            return false;
        }
        if (!doc.AddGameFile(path.string(), game.viewed ? ENTRY_VIEWED : 0)) {
            error = "the program cannot read the sample " + path.string() +
                    (host.m_error.empty() ? std::string() : " (" + host.m_error + ")");
            return false;
        }
        ++counts.games;
        counts.viewed += game.viewed ? 1 : 0;
    }
    return SaveCollectionFile(doc, (root / "sample.vnx").string(), &error);
}
