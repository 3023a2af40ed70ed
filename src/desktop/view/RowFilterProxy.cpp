#include "desktop/view/RowFilterProxy.h"

#include "desktop/view/ReportListModel.h"
#include "report/ReportRows.h"

CRowFilterProxy::CRowFilterProxy(CReportListModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(&model);
    // Rows the model adds or changes are filtered, and placed while the
    // duplicates view's places apply, as they come. Without places the
    // proxy does not sort: the model's order is the list's order.
    setDynamicSortFilter(true);
}

void CRowFilterProxy::SetFilter(const CRowFilter& filter)
{
    if (filter == m_filter)
        return;
    // Qt would tell a changed filter as one removal or insertion per run of
    // rows, and each makes the views work again: scattered matches over
    // 100,000 rows come to tens of thousands of runs. The rows shown are made
    // again in one reset instead; the list puts its selection back.
    beginResetModel();
    m_filter = filter;
    endResetModel();
}

void CRowFilterProxy::SetPlaces(std::unordered_map<std::string, int> places)
{
    if (places.empty() && m_places.empty())
        return;
    beginResetModel();
    m_places = std::move(places);
    endResetModel();
    // Sorting by the places while they apply; -1 goes back to the model's order.
    sort(m_places.empty() ? -1 : 0);
}

void CRowFilterProxy::SetMatches(std::shared_ptr<const CMatches> matches)
{
    if (!matches && !m_matches)
        return;
    beginResetModel();
    m_matches = std::move(matches);
    endResetModel();
}

int CRowFilterProxy::PlaceOf(int sourceRow) const
{
    // Places are keyed by GameKey, as the matches are.
    const std::uint32_t game = m_model.PublishedGame(sourceRow);
    const std::string& path = m_model.PublishedKey(sourceRow);
    const auto it = m_places.find(game == 0 ? path : GameKey(path, game));
    return it == m_places.end() ? -1 : it->second;
}

bool CRowFilterProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (m_places.empty())
        return left.row() < right.row();
    return PlaceOf(left.row()) < PlaceOf(right.row());
}

bool CRowFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid())
        return false;
    if (!m_places.empty() && PlaceOf(sourceRow) < 0)
        return false;
    if (m_matches) {
        // Matches are keyed by GameKey: the path alone for a first game.
        const std::uint32_t game = m_model.PublishedGame(sourceRow);
        const std::string& path = m_model.PublishedKey(sourceRow);
        if (!(game == 0 ? m_matches->count(path) : m_matches->count(GameKey(path, game))))
            return false;
    }
    if (m_filter.IsEmpty())
        return true;
    return m_filter.Matches(m_model.FilterText(sourceRow, m_filter));
}
