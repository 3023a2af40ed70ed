#pragma once

#include "desktop/players/PlayerLines.h"

#include <QAbstractTableModel>

#include <vector>

// The rows of the Players dock. Display texts for the eye, and under
// kSortRole the values the columns sort by (numbers as numbers).
class CPlayersModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum EColumn { kName, kGames, kWins, kLosses, kNoWinner, kWinRate, kFirstYear, kLastYear, kColumnCount };
    static constexpr int kSortRole = Qt::UserRole + 1;
    static constexpr int kKeyRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;

    // The whole list anew: the views keep their sort and filter.
    void SetLines(std::vector<SPlayerLine> lines);
    const std::vector<SPlayerLine>& Lines() const { return m_lines; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Wins of the games with a winner, in percent; -1 when none had one.
    static double WinRate(int wins, int losses);

private:
    std::vector<SPlayerLine> m_lines;
};

// The opponents of one player, in the record under the dock.
class COpponentsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum EColumn { kName, kGames, kWins, kLosses, kLastGame, kColumnCount };
    static constexpr int kSortRole = CPlayersModel::kSortRole;
    static constexpr int kKeyRole = CPlayersModel::kKeyRole;

    using QAbstractTableModel::QAbstractTableModel;

    void SetLines(std::vector<SOpponentLine> lines);
    const std::vector<SOpponentLine>& Lines() const { return m_lines; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<SOpponentLine> m_lines;
};
