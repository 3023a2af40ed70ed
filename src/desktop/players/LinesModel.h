#pragma once

#include "desktop/players/CountColumns.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <utility>
#include <vector>

// A table of lines that each carry a key, as the Players dock lists them:
// what every such table does alike, so that a model of it only tells its
// cells, its alignment and its widest cell. Display texts for the eye, and
// under kSortRole the values the columns sort by (numbers as numbers).
template <typename TLine> class CLinesModel : public QAbstractTableModel
{
public:
    static constexpr int kSortRole = Qt::UserRole + 1;
    static constexpr int kKeyRole = Qt::UserRole + 2;

    // One column for each header.
    CLinesModel(QStringList headers, QObject* parent) : QAbstractTableModel(parent), m_headers(std::move(headers)) {}

    // The whole list anew: the views keep their sort and filter.
    void SetLines(std::vector<TLine> lines)
    {
        beginResetModel();
        m_lines = std::move(lines);
        endResetModel();
    }
    const std::vector<TLine>& Lines() const { return m_lines; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const TLine& line = m_lines[static_cast<std::size_t>(index.row())];
        if (role == kKeyRole)
            return QString::fromStdString(line.key);
        if (role == Qt::TextAlignmentRole)
            return IsTextColumn(index.column()) ? QVariant() : QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != kSortRole)
            return {};
        return Cell(line, index.column(), role == kSortRole);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return {};
        if (role == kWidestCellRole)
            return WidestCell(section);
        if (role != Qt::DisplayRole)
            return {};
        return section >= 0 && section < m_headers.size() ? QVariant(m_headers[section]) : QVariant();
    }

protected:
    // Texts keep to the left; the counts line up on the right.
    virtual bool IsTextColumn(int column) const = 0;
    // The cell's text, or under sort its value to sort by.
    virtual QVariant Cell(const TLine& line, int column, bool sort) const = 0;
    // The widest text the column's cells may hold, when wider than a count.
    virtual QVariant WidestCell(int /*column*/) const { return {}; }

private:
    QStringList m_headers;
    std::vector<TLine> m_lines;
};
