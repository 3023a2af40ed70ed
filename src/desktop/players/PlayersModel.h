#pragma once

#include "desktop/players/LinesModel.h"
#include "desktop/players/PlayerLines.h"

// The rows of the Players dock.
class CPlayersModel : public CLinesModel<SPlayerLine>
{
    Q_OBJECT
public:
    enum EColumn { kName, kGames, kWins, kLosses, kNoWinner, kWinRate, kFirstYear, kLastYear, kColumnCount };

    explicit CPlayersModel(QObject* parent = nullptr);

    // Wins of the games with a winner, in percent; -1 when none had one.
    static double WinRate(int wins, int losses);

protected:
    bool IsTextColumn(int column) const override { return column == kName; }
    QVariant Cell(const SPlayerLine& line, int column, bool sort) const override;
    QVariant WidestCell(int column) const override;
};

// The opponents of one player, in the record under the dock.
class COpponentsModel : public CLinesModel<SOpponentLine>
{
    Q_OBJECT
public:
    enum EColumn { kName, kGames, kWins, kLosses, kLastGame, kColumnCount };

    explicit COpponentsModel(QObject* parent = nullptr);

protected:
    bool IsTextColumn(int column) const override { return column == kName || column == kLastGame; }
    QVariant Cell(const SOpponentLine& line, int column, bool sort) const override;
    QVariant WidestCell(int column) const override;
};
