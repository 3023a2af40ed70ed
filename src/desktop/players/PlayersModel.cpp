#include "desktop/players/PlayersModel.h"

#include "desktop/players/CountColumns.h"

namespace {

QVariant YearText(int year)
{
    return year > 0 ? QVariant(QString::number(year)) : QVariant(QString());
}

QVariant NumberAligned()
{
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
}

} // namespace

double CPlayersModel::WinRate(int wins, int losses)
{
    return wins + losses > 0 ? 100.0 * wins / (wins + losses) : -1.0;
}

void CPlayersModel::SetLines(std::vector<SPlayerLine> lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

int CPlayersModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int CPlayersModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CPlayersModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SPlayerLine& line = m_lines[static_cast<std::size_t>(index.row())];
    if (role == kKeyRole)
        return QString::fromStdString(line.key);
    if (role == Qt::TextAlignmentRole)
        return index.column() == kName ? QVariant() : NumberAligned();
    if (role != Qt::DisplayRole && role != kSortRole)
        return {};
    const bool sort = role == kSortRole;
    switch (index.column()) {
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

QVariant CPlayersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == kWidestCellRole && section == kWinRate)
        return QStringLiteral("100.0%");
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[kColumnCount] = {"Player",    "Games", "Wins",  "Losses",
                                                       "No Winner", "Win %", "First", "Last"};
    return section >= 0 && section < kColumnCount ? QString::fromLatin1(kHeaders[section]) : QVariant();
}

void COpponentsModel::SetLines(std::vector<SOpponentLine> lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

int COpponentsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int COpponentsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant COpponentsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SOpponentLine& line = m_lines[static_cast<std::size_t>(index.row())];
    if (role == kKeyRole)
        return QString::fromStdString(line.key);
    if (role == Qt::TextAlignmentRole)
        return index.column() == kName || index.column() == kLastGame ? QVariant() : NumberAligned();
    if (role != Qt::DisplayRole && role != kSortRole)
        return {};
    switch (index.column()) {
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

QVariant COpponentsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == kWidestCellRole && section == kLastGame)
        return QStringLiteral("8888-88-88");
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[kColumnCount] = {"Opponent", "Games", "Wins", "Losses", "Last Game"};
    return section >= 0 && section < kColumnCount ? QString::fromLatin1(kHeaders[section]) : QVariant();
}
