#pragma once

#include <QRect>
#include <QRectF>
#include <QString>

#include <map>

class QPainter;
class QPalette;

// The layout the charts by year share: one column a year from the first
// year to the last across the widget, with the first and the last year
// written under the columns.
class CYearColumns
{
public:
    // widget: the chart's rectangle; years: its counts by year.
    template <typename TCounts> static CYearColumns Of(const QRect& widget, const std::map<int, TCounts>& years)
    {
        return years.empty() ? CYearColumns(widget, false, 0, 0)
                             : CYearColumns(widget, true, years.begin()->first, years.rbegin()->first);
    }

    // No years, or no room to draw them in.
    bool IsEmpty() const;
    // Says so in the middle of the widget, in the placeholder colour.
    void DrawPlaceholder(QPainter& painter, const QPalette& palette, const QString& text) const;

    // The room of the columns, above the year labels.
    const QRectF& Area() const { return m_area; }
    int Span() const { return m_last - m_first + 1; }
    // The width of one column, and where year's column starts.
    qreal Width() const { return m_area.width() / Span(); }
    qreal Left(int year) const { return m_area.left() + (year - m_first) * Width(); }

    // The year of the column under at, or 0; the labels under a column
    // count as part of it.
    int YearAt(const QPoint& at) const;

    // The first and the last year under the columns, with the painter's pen.
    void DrawYearLabels(QPainter& painter) const;

private:
    CYearColumns(const QRect& widget, bool hasYears, int first, int last);

    QRect m_widget;
    QRectF m_area;
    bool m_hasYears = false;
    int m_first = 0;
    int m_last = 0;
};
