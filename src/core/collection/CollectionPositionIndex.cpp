#include "collection/CollectionPositionIndex.h"

#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "pattern/PositionRow.h"

namespace {

EStone WinnerStone(EResultWinner winner)
{
    switch (winner) {
    case EResultWinner::Black:
        return EStone::Black;
    case EResultWinner::White:
        return EStone::White;
    default:
        return EStone::Empty;
    }
}

} // namespace

SCollectionIndex LoadCollectionIndex(CVarnexDoc& doc, IShownText* shown, const std::function<bool()>& stop)
{
    SCollectionIndex loaded;
    loaded.paths.reserve(doc.m_mapFiles.size());
    loaded.index.Reserve(doc.m_mapFiles.size(), 0);
    loaded.summary = ForEachCollectionPositionRow(
        doc,
        [&](const std::string& path, const std::vector<std::string_view>& rows) {
            const CGameEntry* entry = doc.m_mapFiles.Find(path);
            // A row the index refuses is damaged: the file's rows are made
            // again from it, so none of its games may be in the index yet.
            if (rows.size() > 1) {
                for (std::string_view row : rows) {
                    if (!ParsePositionRow(row))
                        return false;
                }
            }
            for (std::size_t game = 0; game < rows.size(); ++game) {
                const bool known = entry && game < entry->GameCount();
                const EStone winner = known ? WinnerStone(entry->Game(game).Winner(shown)) : EStone::Empty;
                if (!loaded.index.AddRow(rows[game], winner))
                    return false;
                loaded.paths.push_back(path);
                loaded.games.push_back(static_cast<std::uint32_t>(game));
            }
            return true;
        },
        stop);
    return loaded;
}
