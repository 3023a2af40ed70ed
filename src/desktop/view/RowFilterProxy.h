#pragma once

#include "report/RowFilter.h"

#include <QSortFilterProxyModel>

class CReportListModel;

// The rows the views show: all of them, or while the quick filter is on
// those it keeps, in the model's own order. The model's rows, their order
// and the collection stay as they are.
class CRowFilterProxy : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit CRowFilterProxy(CReportListModel& model, QObject* parent = nullptr);

    void SetFilter(const CRowFilter& filter);
    const CRowFilter& Filter() const { return m_filter; }
    bool IsFiltering() const { return !m_filter.IsEmpty(); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    CReportListModel& m_model;
    CRowFilter m_filter;
};
