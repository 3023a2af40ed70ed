#include "desktop/pattern/CollectionPatternIndex.h"

#include "collection/CollectionPositionIndex.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "report/GameDate.h"

bool CCollectionPatternIndex::Build(CVarnexDoc& doc, IShownText* shown, const Step& step)
{
    std::size_t rows = 0;
    std::function<bool()> stop;
    if (step)
        stop = [&] { return step(++rows); };
    SCollectionIndex loaded = LoadCollectionIndex(doc, shown, stop);
    if (loaded.summary.stopped)
        return false;
    m_index = std::move(loaded.index);
    m_paths = std::move(loaded.paths);
    m_games = std::move(loaded.games);
    m_years.reserve(m_paths.size());
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        int year = 0;
        const CGameEntry* file = doc.m_mapFiles.Find(m_paths[i]);
        const CGameEntry* entry = file && m_games[i] < file->GameCount() ? &file->Game(m_games[i]) : nullptr;
        if (const CPropertyValue dt = entry ? entry->m_props.Find("DT") : CPropertyValue()) {
            if (const std::optional<SDateSpan> date = FirstDate(*dt))
                year = date->first / 10000;
        }
        m_years.push_back(year);
    }
    return true;
}
