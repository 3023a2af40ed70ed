#pragma once

#include "report/RowFilter.h"

#include <QSortFilterProxyModel>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

class CReportListModel;

// The rows the views show: all of them, or while the quick filter is on
// those it keeps, in the model's own order; in the duplicates view only the
// rows with a place, in the order of their places. The model's rows, their
// order and the collection stay as they are.
class CRowFilterProxy : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit CRowFilterProxy(CReportListModel& model, QObject* parent = nullptr);

    void SetFilter(const CRowFilter& filter);
    const CRowFilter& Filter() const { return m_filter; }
    bool IsFiltering() const { return !m_filter.IsEmpty() || HasPlaces() || m_matches != nullptr; }

    // The duplicates view: only the rows whose game has a place (keyed by
    // GameKey) are shown, in the order of their places (the filter still
    // applies). Empty: every row, in the model's order.
    void SetPlaces(std::unordered_map<std::string, int> places);
    bool HasPlaces() const { return !m_places.empty(); }

    // The games a position search found (key to first hit): only the rows
    // whose key is one of them are shown (the filter still applies).
    // Null: every row.
    using CMatches = std::unordered_map<std::string, int>;
    void SetMatches(std::shared_ptr<const CMatches> matches);

    // The rows are a flat list: no row has a parent. The selection asks for
    // parents once per range for every row it paints, and the base class
    // finds them through its mapping tables.
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    using QSortFilterProxyModel::parent;
    // The tree view asks this of every row when it lays them out.
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override
    {
        return !parent.isValid() && rowCount() > 0 && columnCount() > 0;
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    int PlaceOf(int sourceRow) const;

    CReportListModel& m_model;
    CRowFilter m_filter;
    std::unordered_map<std::string, int> m_places;
    std::shared_ptr<const CMatches> m_matches;
};
