#include "desktop/view/RowFilterProxy.h"

#include "desktop/view/ReportListModel.h"

CRowFilterProxy::CRowFilterProxy(CReportListModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(&model);
    // The proxy never sorts: the model's order is the list's order.
    setDynamicSortFilter(true);
}

void CRowFilterProxy::SetFilter(const CRowFilter& filter)
{
    if (filter == m_filter)
        return;
    m_filter = filter;
    invalidateFilter();
}

bool CRowFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid())
        return false;
    if (m_filter.IsEmpty())
        return true;
    return m_filter.Matches(m_model.FilterText(sourceRow));
}
