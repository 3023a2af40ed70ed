#pragma once

#include "desktop/players/PlayerLines.h"
#include "desktop/players/YearRecordChart.h"

#include <QWidget>

#include <map>
#include <string>
#include <vector>

class COpponentsModel;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

// One player's record under the players list: the name, wins and losses by
// year as a chart, the games as black and as white, and the opponents,
// sortable. Clicking an opponent asks for the games of the two together.
class CPlayerRecordPane : public QWidget
{
    Q_OBJECT
public:
    struct SRecord
    {
        std::string key;
        QString name;
        SColourLine total;
        int noWinner = 0;
        std::map<int, CYearRecordChart::SYear> years;
        SColourLine asBlack;
        SColourLine asWhite;
        std::vector<SOpponentLine> opponents;
    };

    explicit CPlayerRecordPane(QWidget* parent = nullptr);

    void ShowRecord(SRecord record);
    // Back to no player.
    void Clear();
    const std::string& PlayerKey() const { return m_key; }

    CYearRecordChart* Chart() const { return m_chart; }
    QTableView* Opponents() const { return m_opponents; }
    QLabel* ColourLine() const { return m_colours; }
    QLabel* Title() const { return m_title; }
    // "As black: 12 games, 8 wins, 4 losses"; without a colour, the counts alone.
    static QString ColourText(const char* colour, const SColourLine& line);

signals:
    // The opponent's key and name.
    void OpponentChosen(const std::string& key, const QString& name);

private:
    std::string m_key;
    QLabel* m_title = nullptr;
    CYearRecordChart* m_chart = nullptr;
    QLabel* m_colours = nullptr;
    COpponentsModel* m_model = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
    QTableView* m_opponents = nullptr;
};
