#include "desktop/players/YearRecordChart.h"

#include "desktop/view/YearColumns.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

// Wins and losses keep their colours whatever the style: green for won,
// red for lost, as score sheets mark them.
const QColor kWinColor(46, 139, 87);
const QColor kLossColor(200, 64, 64);

QString Counted(int count, const char* one, const char* many)
{
    return count == 1 ? QStringLiteral("1 %1").arg(QLatin1String(one))
                      : QStringLiteral("%1 %2").arg(count).arg(QLatin1String(many));
}

} // namespace

CYearRecordChart::CYearRecordChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("playerYearChart"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setMinimumHeight(80);
}

void CYearRecordChart::SetYears(std::map<int, SYear> years)
{
    m_years = std::move(years);
    update();
}

QString CYearRecordChart::YearText(int year, const SYear& counts)
{
    QString text = QStringLiteral("%1: %2, %3")
                       .arg(year)
                       .arg(Counted(counts.wins, "win", "wins"), Counted(counts.losses, "loss", "losses"));
    if (counts.noWinner > 0)
        text += QStringLiteral(", %1 without a winner").arg(counts.noWinner);
    return text;
}

int CYearRecordChart::YearAt(const QPoint& at) const
{
    return CYearColumns::Of(rect(), m_years).YearAt(at);
}

void CYearRecordChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const CYearColumns columns = CYearColumns::Of(rect(), m_years);
    if (columns.IsEmpty()) {
        columns.DrawPlaceholder(painter, palette(), QStringLiteral("No dated games"));
        return;
    }
    const QRectF& area = columns.Area();
    int highest = 1;
    for (const auto& [year, counts] : m_years)
        highest = std::max({highest, counts.wins, counts.losses});
    const qreal middle = area.top() + area.height() / 2;
    const qreal half = area.height() / 2;
    const qreal width = columns.Width();
    const qreal gap = width > 3 ? 0.5 : 0;
    painter.setPen(Qt::NoPen);
    for (const auto& [year, counts] : m_years) {
        const qreal left = columns.Left(year) + gap;
        const qreal barWidth = std::max<qreal>(1, width - 2 * gap);
        const qreal up = half * counts.wins / highest;
        const qreal down = half * counts.losses / highest;
        painter.setBrush(kWinColor);
        painter.drawRect(QRectF(left, middle - up, barWidth, up));
        painter.setBrush(kLossColor);
        painter.drawRect(QRectF(left, middle, barWidth, down));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(QPointF(area.left(), middle), QPointF(area.right(), middle));
    columns.DrawYearLabels(painter);
}

bool CYearRecordChart::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int year = YearAt(help->pos());
        const auto found = m_years.find(year);
        if (year != 0)
            QToolTip::showText(help->globalPos(), YearText(year, found != m_years.end() ? found->second : SYear{}),
                               this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
