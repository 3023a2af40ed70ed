#include "collection/CollectionPositionIndex.h"

#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"

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
        [&](const std::string& path, std::string_view row) {
            const CGameEntry* entry = doc.m_mapFiles.Find(path);
            const EStone winner = entry ? WinnerStone(entry->Winner(shown)) : EStone::Empty;
            // A row the index refuses is damaged: it is made again from the file.
            if (!loaded.index.AddRow(row, winner))
                return false;
            loaded.paths.push_back(path);
            return true;
        },
        stop);
    return loaded;
}
