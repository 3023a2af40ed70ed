#include "desktop/pattern/CollectionPatternIndex.h"

#include "collection/CollectionPositionRows.h"
#include "collection/VarnexDoc.h"
#include "report/GameDate.h"

bool CCollectionPatternIndex::Build(CVarnexDoc& doc, const Step& step)
{
    const auto add = [&](const std::string& path, std::string_view row) {
        const CGameEntry* entry = doc.m_mapFiles.Find(path);
        if (entry == nullptr)
            return;
        const EResultWinner winner = entry->Winner();
        const EStone stone = winner == EResultWinner::Black   ? EStone::Black
                             : winner == EResultWinner::White ? EStone::White
                                                              : EStone::Empty;
        if (!m_index.AddRow(row, stone))
            return;
        m_paths.push_back(path);
        int year = 0;
        if (const CPropertyValue dt = entry->m_props.Find("DT")) {
            if (const std::optional<SDateSpan> date = FirstDate(*dt))
                year = date->first / 10000;
        }
        m_years.push_back(year);
    };
    std::function<bool()> stop;
    if (step)
        stop = [&] { return step(m_paths.size()); };
    return !ForEachCollectionPositionRow(doc, add, stop).stopped;
}
