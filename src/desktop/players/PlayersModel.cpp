#include "desktop/players/PlayersModel.h"

namespace {

QVariant YearText(int year)
{
    return year > 0 ? QVariant(QString::number(year)) : QVariant(QString());
}

} // namespace

CPlayersModel::CPlayersModel(QObject* parent)
    : CLinesModel({QStringLiteral("Player"), QStringLiteral("Games"), QStringLiteral("Wins"), QStringLiteral("Losses"),
                   QStringLiteral("No Winner"), QStringLiteral("Win %"), QStringLiteral("First"),
                   QStringLiteral("Last")},
                  parent)
{
    Q_ASSERT(columnCount() == kColumnCount);
}

double CPlayersModel::WinRate(int wins, int losses)
{
    return wins + losses > 0 ? 100.0 * wins / (wins + losses) : -1.0;
}

QVariant CPlayersModel::Cell(const SPlayerLine& line, int column, bool sort) const
{
    switch (column) {
    case kName:
        return line.name;
    case kGames:
        return line.games;
    case kWins:
        return line.wins;
    case kLosses:
        return line.losses;
    case kNoWinner:
        return line.noWinner;
    case kWinRate: {
        const double rate = WinRate(line.wins, line.losses);
        if (sort)
            return rate;
        return rate < 0 ? QString() : QString::number(rate, 'f', 1) + QLatin1Char('%');
    }
    case kFirstYear:
        return sort ? QVariant(line.firstYear) : YearText(line.firstYear);
    case kLastYear:
        return sort ? QVariant(line.lastYear) : YearText(line.lastYear);
    default:
        return {};
    }
}

QVariant CPlayersModel::WidestCell(int column) const
{
    return column == kWinRate ? QVariant(QStringLiteral("100.0%")) : QVariant();
}

COpponentsModel::COpponentsModel(QObject* parent)
    : CLinesModel({QStringLiteral("Opponent"), QStringLiteral("Games"), QStringLiteral("Wins"),
                   QStringLiteral("Losses"), QStringLiteral("Last Game")},
                  parent)
{
    Q_ASSERT(columnCount() == kColumnCount);
}

QVariant COpponentsModel::Cell(const SOpponentLine& line, int column, bool /*sort*/) const
{
    switch (column) {
    case kName:
        return line.name;
    case kGames:
        return line.games;
    case kWins:
        return line.wins;
    case kLosses:
        return line.losses;
    case kLastGame:
        return line.lastGame;
    default:
        return {};
    }
}

QVariant COpponentsModel::WidestCell(int column) const
{
    return column == kLastGame ? QVariant(QStringLiteral("8888-88-88")) : QVariant();
}
