#include "desktop/pattern/DateProfile.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

// The room under the bars for the first and the last year.
constexpr int kLabelHeight = 14;

} // namespace

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

QRectF CDateProfile::ChartArea() const
{
    return QRectF(rect()).adjusted(4, 4, -4, -4 - kLabelHeight);
}

int CDateProfile::YearAt(const QPoint& at) const
{
    if (m_years.empty())
        return 0;
    const int first = m_years.begin()->first;
    const int span = m_years.rbegin()->first - first + 1;
    const QRectF area = ChartArea();
    if (at.x() < area.left() || at.x() >= area.right() || at.y() > area.bottom() + kLabelHeight)
        return 0;
    const int bar = static_cast<int>((at.x() - area.left()) * span / area.width());
    return first + std::clamp(bar, 0, span - 1);
}

void CDateProfile::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRectF area = ChartArea();
    if (m_years.empty() || area.width() <= 0 || area.height() <= 0) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("No dates"));
        return;
    }
    const int first = m_years.begin()->first;
    const int last = m_years.rbegin()->first;
    const int span = last - first + 1;
    int highest = 1;
    for (const auto& [year, games] : m_years)
        highest = std::max(highest, games);
    const qreal width = area.width() / span;
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Highlight));
    for (const auto& [year, games] : m_years) {
        const qreal height = area.height() * games / highest;
        const qreal left = area.left() + (year - first) * width;
        painter.drawRect(
            QRectF(left + (width > 3 ? 0.5 : 0), area.bottom() - height, std::max<qreal>(1, width - 1), height));
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    const QRectF labels(area.left(), area.bottom() + 1, area.width(), kLabelHeight);
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, QString::number(first));
    if (last != first)
        painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, QString::number(last));
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
