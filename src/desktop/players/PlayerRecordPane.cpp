#include "desktop/players/PlayerRecordPane.h"

#include "desktop/players/PlayersModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

CPlayerRecordPane::CPlayerRecordPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("playerRecord"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("playerRecordTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setTextFormat(Qt::PlainText);
    layout->addWidget(m_title);
    m_chart = new CYearRecordChart(this);
    layout->addWidget(m_chart, 1);
    m_colours = new QLabel(this);
    m_colours->setObjectName(QStringLiteral("playerColours"));
    m_colours->setTextFormat(Qt::PlainText);
    layout->addWidget(m_colours);

    m_model = new COpponentsModel(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(COpponentsModel::kSortRole);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_opponents = new QTableView(this);
    m_opponents->setObjectName(QStringLiteral("opponentsTable"));
    m_opponents->setModel(m_sorted);
    m_opponents->setSortingEnabled(true);
    m_opponents->sortByColumn(COpponentsModel::kGames, Qt::DescendingOrder);
    m_opponents->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_opponents->setSelectionMode(QAbstractItemView::SingleSelection);
    m_opponents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_opponents->verticalHeader()->hide();
    m_opponents->verticalHeader()->setDefaultSectionSize(m_opponents->fontMetrics().height() + 4);
    m_opponents->horizontalHeader()->setSectionResizeMode(COpponentsModel::kName, QHeaderView::Stretch);
    m_opponents->setToolTip(QStringLiteral("Click an opponent to list the games of the two together"));
    layout->addWidget(m_opponents, 2);
    connect(m_opponents, &QTableView::clicked, this, [this](const QModelIndex& index) {
        const QModelIndex source = m_sorted->mapToSource(index);
        if (!source.isValid())
            return;
        const SOpponentLine& line = m_model->Lines()[static_cast<std::size_t>(source.row())];
        emit OpponentChosen(line.key, line.name);
    });
    Clear();
}

QString CPlayerRecordPane::ColourText(const char* colour, const SColourLine& line)
{
    return QStringLiteral("As %1: %2 %3, %4 %5, %6 %7")
        .arg(QLatin1String(colour))
        .arg(line.games)
        .arg(line.games == 1 ? QStringLiteral("game") : QStringLiteral("games"))
        .arg(line.wins)
        .arg(line.wins == 1 ? QStringLiteral("win") : QStringLiteral("wins"))
        .arg(line.losses)
        .arg(line.losses == 1 ? QStringLiteral("loss") : QStringLiteral("losses"));
}

void CPlayerRecordPane::ShowRecord(SRecord record)
{
    m_key = std::move(record.key);
    m_title->setText(record.name);
    m_chart->SetYears(std::move(record.years));
    m_colours->setText(ColourText("black", record.asBlack) + QLatin1Char('\n') + ColourText("white", record.asWhite));
    m_model->SetLines(std::move(record.opponents));
    m_opponents->resizeColumnsToContents();
    m_opponents->horizontalHeader()->setSectionResizeMode(COpponentsModel::kName, QHeaderView::Stretch);
    setVisible(true);
}

void CPlayerRecordPane::Clear()
{
    m_key.clear();
    m_title->clear();
    m_chart->SetYears({});
    m_colours->clear();
    m_model->SetLines({});
    setVisible(false);
}
