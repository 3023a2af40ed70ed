#pragma once

#include <QWidget>

#include <map>

// A player's wins and losses by year, drawn with QPainter: one column a
// year from the first year to the last, wins rising above the middle line
// and losses hanging below it, both to the scale of the largest count.
// Hovering a column tells its year and counts.
class CYearRecordChart : public QWidget
{
    Q_OBJECT
public:
    struct SYear
    {
        int wins = 0;
        int losses = 0;
        int noWinner = 0;
        bool operator==(const SYear&) const = default;
    };

    explicit CYearRecordChart(QWidget* parent = nullptr);

    // Years with no game between the first and the last show as empty columns.
    void SetYears(std::map<int, SYear> years);
    const std::map<int, SYear>& Years() const { return m_years; }

    // The year of the column under at, or 0.
    int YearAt(const QPoint& at) const;
    // What hovering over a year says: "1998: 12 wins, 3 losses".
    static QString YearText(int year, const SYear& counts);

    QSize sizeHint() const override { return {260, 110}; }
    QSize minimumSizeHint() const override { return {80, 60}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::map<int, SYear> m_years;
};
