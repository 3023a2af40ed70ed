#include "desktop/players/YearRecordChart.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

// The room under the columns for the first and the last year.
constexpr int kLabelHeight = 14;

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

QRectF CYearRecordChart::ChartArea() const
{
    return QRectF(rect()).adjusted(4, 4, -4, -4 - kLabelHeight);
}

int CYearRecordChart::YearAt(const QPoint& at) const
{
    if (m_years.empty())
        return 0;
    const int first = m_years.begin()->first;
    const int span = m_years.rbegin()->first - first + 1;
    const QRectF area = ChartArea();
    if (at.x() < area.left() || at.x() >= area.right() || at.y() > area.bottom() + kLabelHeight)
        return 0;
    const int column = static_cast<int>((at.x() - area.left()) * span / area.width());
    return first + std::clamp(column, 0, span - 1);
}

void CYearRecordChart::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRectF area = ChartArea();
    if (m_years.empty() || area.width() <= 0 || area.height() <= 0) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No dated games"));
        return;
    }
    const int first = m_years.begin()->first;
    const int last = m_years.rbegin()->first;
    const int span = last - first + 1;
    int highest = 1;
    for (const auto& [year, counts] : m_years)
        highest = std::max({highest, counts.wins, counts.losses});
    const qreal middle = area.top() + area.height() / 2;
    const qreal half = area.height() / 2;
    const qreal width = area.width() / span;
    const qreal gap = width > 3 ? 0.5 : 0;
    painter.setPen(Qt::NoPen);
    for (const auto& [year, counts] : m_years) {
        const qreal left = area.left() + (year - first) * width + gap;
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
    const QRectF labels(area.left(), area.bottom() + 1, area.width(), kLabelHeight);
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, QString::number(first));
    if (last != first)
        painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, QString::number(last));
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
