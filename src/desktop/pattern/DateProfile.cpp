#include "desktop/pattern/DateProfile.h"

#include "desktop/view/YearColumns.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

CDateProfile::CDateProfile(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("patternDateProfile"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(60);
}

void CDateProfile::SetYears(std::map<int, int> years)
{
    m_years = std::move(years);
    update();
}

QString CDateProfile::BarText(int year, int games)
{
    return games == 1 ? QStringLiteral("%1: 1 game").arg(year) : QStringLiteral("%1: %2 games").arg(year).arg(games);
}

int CDateProfile::YearAt(const QPoint& at) const
{
    return CYearColumns::Of(rect(), m_years).YearAt(at);
}

void CDateProfile::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const CYearColumns columns = CYearColumns::Of(rect(), m_years);
    if (columns.IsEmpty()) {
        columns.DrawPlaceholder(painter, palette(), QStringLiteral("No dates"));
        return;
    }
    const QRectF& area = columns.Area();
    int highest = 1;
    for (const auto& [year, games] : m_years)
        highest = std::max(highest, games);
    const qreal width = columns.Width();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    for (const auto& [year, games] : m_years) {
        const qreal height = area.height() * games / highest;
        const qreal left = columns.Left(year);
        painter.drawRect(
            QRectF(left + (width > 3 ? 0.5 : 0), area.bottom() - height, std::max<qreal>(1, width - 1), height));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    columns.DrawYearLabels(painter);
}

bool CDateProfile::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int year = YearAt(help->pos());
        const auto it = m_years.find(year);
        if (year != 0)
            QToolTip::showText(help->globalPos(), BarText(year, it == m_years.end() ? 0 : it->second), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
