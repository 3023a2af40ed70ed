#include "desktop/players/CountColumns.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

#include <algorithm>

void FitCountColumns(QTableView& view, int nameColumn)
{
    QHeaderView& header = *view.horizontalHeader();
    const QFontMetrics metrics(header.font());
    const QFontMetrics cells(view.font());
    const int margins = 2 * view.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) + 4;
    // Any column may be sorted by: its title leaves room for the arrow.
    const int arrow = view.style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, &header) / 2;
    for (int column = 0; column < header.count(); ++column) {
        if (column == nameColumn) {
            header.setSectionResizeMode(column, QHeaderView::Stretch);
            continue;
        }
        const QString title = view.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        const QVariant widest = view.model()->headerData(column, Qt::Horizontal, kWidestCellRole);
        const int cell = cells.horizontalAdvance(widest.isValid() ? widest.toString() : QStringLiteral("9999"));
        header.setSectionResizeMode(column, QHeaderView::Interactive);
        header.resizeSection(column, std::max(metrics.horizontalAdvance(title) + arrow, cell) + margins);
    }
}
