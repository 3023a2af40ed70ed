#pragma once

#include "reader/GameRecord.h"

#include <QString>
#include <QTableWidget>

#include <cstdint>
#include <vector>

// One continuation as the window shows it: its letter, point and colour
// on the pattern as drawn, and its games with the wins of either side.
struct SContinuationRow
{
    QString letter;
    int x = 0;
    int y = 0;
    EStone colour = EStone::Black;
    std::uint32_t games = 0;
    std::uint32_t blackWins = 0;
    std::uint32_t whiteWins = 0;
};

// The letter of the continuation at index: A to Z, then a to z, then none.
QString ContinuationLetter(std::size_t index);
// A share in per cent with one decimal, "42.5 %"; "-" of nothing.
QString PercentText(std::uint32_t part, std::uint32_t whole);

// The continuations under the pattern board: letter, colour, games, their
// share of the games found, and Black's and White's wins as a bar and in
// per cent. A click on a row chooses its continuation.
class CContinuationTable : public QTableWidget
{
    Q_OBJECT
public:
    enum EColumn { kLetter, kColour, kGames, kShare, kWins, kColumnCount };

    explicit CContinuationTable(QWidget* parent = nullptr);

    // matched: the games found, which the shares are of.
    void SetRows(std::vector<SContinuationRow> rows, std::size_t matched);
    const std::vector<SContinuationRow>& Rows() const { return m_rows; }

signals:
    void RowChosen(int index);

private:
    std::vector<SContinuationRow> m_rows;
};
