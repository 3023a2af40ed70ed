#include "desktop/players/PlayerRecordPane.h"

#include "desktop/players/CountColumns.h"
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
    FitCountColumns(*m_opponents, COpponentsModel::kName);
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
    const QString counts = QStringLiteral("%1 %2, %3 %4, %5 %6")
                               .arg(line.games)
                               .arg(line.games == 1 ? QStringLiteral("game") : QStringLiteral("games"))
                               .arg(line.wins)
                               .arg(line.wins == 1 ? QStringLiteral("win") : QStringLiteral("wins"))
                               .arg(line.losses)
                               .arg(line.losses == 1 ? QStringLiteral("loss") : QStringLiteral("losses"));
    return colour == nullptr ? counts : QStringLiteral("As %1: %2").arg(QLatin1String(colour), counts);
}

void CPlayerRecordPane::ShowRecord(SRecord record)
{
    m_key = std::move(record.key);
    QString title = QStringLiteral("%1: %2").arg(record.name, ColourText(nullptr, record.total));
    if (record.noWinner > 0)
        title += QStringLiteral(", %1 without a winner").arg(record.noWinner);
    m_title->setText(title);
    m_chart->SetYears(std::move(record.years));
    m_colours->setText(ColourText("black", record.asBlack) + QLatin1Char('\n') + ColourText("white", record.asWhite));
    m_model->SetLines(std::move(record.opponents));
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
