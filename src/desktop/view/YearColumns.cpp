#include "desktop/view/YearColumns.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

// The room under the columns for the first and the last year.
constexpr int kLabelHeight = 14;

} // namespace

CYearColumns::CYearColumns(const QRect& widget, bool hasYears, int first, int last)
    : m_widget(widget), m_area(QRectF(widget).adjusted(4, 4, -4, -4 - kLabelHeight)), m_hasYears(hasYears),
      m_first(hasYears ? first : 0), m_last(hasYears ? last : 0)
{
}

bool CYearColumns::IsEmpty() const
{
    return !m_hasYears || m_area.width() <= 0 || m_area.height() <= 0;
}

void CYearColumns::DrawPlaceholder(QPainter& painter, const QPalette& palette, const QString& text) const
{
    painter.setPen(palette.color(QPalette::PlaceholderText));
    painter.drawText(m_widget, Qt::AlignCenter, text);
}

int CYearColumns::YearAt(const QPoint& at) const
{
    if (!m_hasYears)
        return 0;
    if (at.x() < m_area.left() || at.x() >= m_area.right() || at.y() > m_area.bottom() + kLabelHeight)
        return 0;
    const int column = static_cast<int>((at.x() - m_area.left()) * Span() / m_area.width());
    return m_first + std::clamp(column, 0, Span() - 1);
}

void CYearColumns::DrawYearLabels(QPainter& painter) const
{
    const QRectF labels(m_area.left(), m_area.bottom() + 1, m_area.width(), kLabelHeight);
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, QString::number(m_first));
    if (m_last != m_first)
        painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, QString::number(m_last));
}
