#pragma once

#include <QWidget>

#include <map>

// A small bar chart of games by year, drawn with QPainter: one bar a year
// from the first year to the last, as high as its count beside the
// highest. Hovering a bar tells its year and count.
class CDateProfile : public QWidget
{
    Q_OBJECT
public:
    explicit CDateProfile(QWidget* parent = nullptr);

    // Games by year; years with none between the first and the last show
    // as empty bars.
    void SetYears(std::map<int, int> years);
    const std::map<int, int>& Years() const { return m_years; }

    // The year of the bar under at, or 0.
    int YearAt(const QPoint& at) const;
    // What hovering over year says: "1998: 12 games".
    static QString BarText(int year, int games);

    QSize sizeHint() const override { return {240, 70}; }
    QSize minimumSizeHint() const override { return {60, 40}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::map<int, int> m_years;
};
