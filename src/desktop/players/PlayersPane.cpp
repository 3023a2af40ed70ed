#include "desktop/players/PlayersPane.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/Prompts.h"
#include "desktop/players/CountColumns.h"
#include "desktop/players/GameNameDecoder.h"
#include "desktop/players/PlayersModel.h"
#include "files/SafeFileWrite.h"
#include "qtcore/ByteText.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// While files are read the rows follow at most this often: making them is
// quick, but not so quick that every file of a large folder may do it.
constexpr qint64 kRefreshDuringReadMs = 1000;

const QString kAliasFilter = QStringLiteral("Alias Files (*.txt)|*.txt|All Files (*.*)|*.*||");

QString Quoted(const QString& name)
{
    // The filter's phrases cannot hold a quote: one in a name stands for a blank.
    QString text = name;
    text.replace(QLatin1Char('"'), QLatin1Char(' '));
    return QLatin1Char('"') + text.trimmed() + QLatin1Char('"');
}

CYearRecordChart::SYear YearOf(const SWinLoss& record)
{
    return {static_cast<int>(record.wins), static_cast<int>(record.losses), static_cast<int>(record.noWinner)};
}

SColourLine ColourOf(const SWinLoss& record)
{
    return {static_cast<int>(record.games), static_cast<int>(record.wins), static_cast<int>(record.losses)};
}

QString DayText(std::uint32_t day, int year)
{
    if (day == 0)
        return year > 0 ? QString::number(year) : QString();
    const std::uint32_t month = day / 100 % 100;
    const std::uint32_t date = day % 100;
    QString text = QString::number(day / 10000);
    if (month > 0)
        text += QStringLiteral("-%1").arg(month, 2, 10, QLatin1Char('0'));
    if (month > 0 && date > 0)
        text += QStringLiteral("-%1").arg(date, 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace

CPlayersPane::CPlayersPane(CVarnexDoc& doc, ISettingsStore& store, IPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_store(store), m_prompts(prompts), m_shown(std::make_unique<CGameNameDecoder>())
{
    setObjectName(QStringLiteral("playersPane"));
    m_shown->SetNoneCharset(ReadString(m_store, settings::kNoneCharset));
    CPlayerAliases aliases;
    aliases.Load(m_store);
    m_table.SetAliases(aliases);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("playersFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter names"));
    m_filter->setClearButtonEnabled(true);
    layout->addWidget(m_filter);

    m_model = new CPlayersModel(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_model);
    m_sorted->setSortRole(CPlayersModel::kSortRole);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_sorted->setFilterKeyColumn(CPlayersModel::kName);
    m_sorted->setFilterCaseSensitivity(Qt::CaseInsensitive);
    connect(m_filter, &QLineEdit::textChanged, m_sorted, &QSortFilterProxyModel::setFilterFixedString);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("playersSplitter"));
    splitter->setChildrenCollapsible(false);
    m_view = new QTableView(splitter);
    m_view->setObjectName(QStringLiteral("playersTable"));
    m_view->setModel(m_sorted);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(CPlayersModel::kGames, Qt::DescendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    FitCountColumns(*m_view, CPlayersModel::kName);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Double-click and Enter both activate a row.
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        const QString key = index.data(CPlayersModel::kKeyRole).toString();
        if (!key.isEmpty())
            ShowPlayer(key.toStdString());
    });

    // Enter in the name filter chooses the player it leaves first (or the
    // current one), so a name typed is a record shown.
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        QModelIndex index = m_view->currentIndex();
        if (!index.isValid())
            index = m_sorted->index(0, 0);
        if (index.isValid()) {
            m_view->setCurrentIndex(index);
            ShowPlayer(index.data(CPlayersModel::kKeyRole).toString().toStdString());
        }
    });

    m_record = new CPlayerRecordPane(splitter);
    connect(m_record, &CPlayerRecordPane::OpponentChosen, this, [this](const std::string&, const QString& name) {
        const std::optional<SPlayerRecord> record = m_table.Record(m_record->PlayerKey());
        if (record)
            emit FilterList(PlayerFilterText(QString::fromStdString(record->name), name));
    });
    splitter->addWidget(m_view);
    splitter->addWidget(m_record);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

    auto action = [this](const char* name, const QString& text, const QString& tip, void (CPlayersPane::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(tip);
        connect(a, &QAction::triggered, this, slot);
        m_view->addAction(a);
        return a;
    };
    m_samePlayer = action("playersSamePlayer", QStringLiteral("Same Player"),
                          QStringLiteral("Count the selected names as one player, under the first selected"),
                          &CPlayersPane::OnSamePlayer);
    m_split = action("playersSplit", QStringLiteral("Split"),
                     QStringLiteral("Count the names joined as this player apart again"), &CPlayersPane::OnSplit);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_view->addAction(separator);
    QAction* exportAliases =
        action("playersExportAliases", QStringLiteral("Export Aliases..."),
               QStringLiteral("Write the joined names to a text file to share"), &CPlayersPane::OnExportAliases);
    QAction* importAliases =
        action("playersImportAliases", QStringLiteral("Import Aliases..."),
               QStringLiteral("Join the names a text file of aliases lists"), &CPlayersPane::OnImportAliases);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QAction* a : {m_samePlayer, m_split, exportAliases, importAliases}) {
        // The button says what the menu item says, "..." included.
        a->setIconText(a->text());
        auto* button = new QToolButton(this);
        button->setDefaultAction(a);
        button->setObjectName(a->objectName() + QStringLiteral("Button"));
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    // Same Player wants two rows or more, Split a row of joined names.
    auto updateActions = [this] {
        const std::vector<std::string> keys = SelectedKeys();
        m_samePlayer->setEnabled(keys.size() >= 2);
        bool joined = false;
        for (const std::vector<std::string>& group : m_table.Aliases().Groups())
            joined = joined || (!keys.empty() && m_table.KeyOf(group.front()) == keys.front());
        m_split->setEnabled(joined);
    };
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, updateActions);
    connect(m_model, &QAbstractItemModel::modelReset, this, updateActions);
    updateActions();
    m_sinceRefresh.start();
}

CPlayersPane::~CPlayersPane()
{
    m_doc.RemoveView(this);
}

QString CPlayersPane::PlayerFilterText(const QString& name, const QString& opponent)
{
    // The player and no one else: "O Rissei" is part of "Cho Rissei".
    QString text = QStringLiteral("player:=") + Quoted(name);
    if (!opponent.isEmpty())
        text += QStringLiteral(" player:=") + Quoted(opponent);
    return text;
}

void CPlayersPane::OnUpdate(int hint, const CHintPayload& payload)
{
    // Until the dock is first shown nothing is counted: it costs nothing to
    // whoever never opens it, and the first showing counts what is there.
    if (!m_counting)
        return;
    switch (hint) {
    case hintFileAdded:
        if (payload.path != nullptr)
            AddFile(*payload.path);
        break;
    case hintFileChanged:
        if (payload.path != nullptr) {
            RemoveFile(*payload.path);
            AddFile(*payload.path);
        }
        break;
    case hintFileRemoved:
        if (payload.path != nullptr) {
            RemoveFile(*payload.path);
        } else {
            // The whole collection went (DeleteContents): nothing to wait for.
            m_table.Clear();
            RefreshRows();
        }
        break;
    case hintBatchDone:
        RefreshRows();
        break;
    case hintIdle:
        if (!m_doc.IsBusy() || m_sinceRefresh.elapsed() >= kRefreshDuringReadMs)
            RefreshRows();
        break;
    default:
        break;
    }
}

void CPlayersPane::AddFile(const std::string& path)
{
    const CGameEntry* entry = m_doc.m_mapFiles.Find(path);
    if (entry == nullptr)
        return;
    const std::size_t games = entry->GameCount();
    m_shown->BeginFile(path);
    for (std::size_t i = 0; i < games; ++i)
        m_table.AddGame(SGameId{path, static_cast<std::uint32_t>(i)}, PlayedGameOf(entry->Game(i), m_shown.get()));
}

void CPlayersPane::RemoveFile(const std::string& path)
{
    // The games counted for the file are numbered from 0 without a gap,
    // whatever the file holds now.
    m_table.RemoveFile(path);
}

void CPlayersPane::SetShowing(bool showing)
{
    m_showing = showing;
    if (showing && !m_counting) {
        m_counting = true;
        m_table.Clear();
        m_doc.m_mapFiles.ForEach([this](const std::string& path, const CGameEntry&) { AddFile(path); });
    }
    if (showing)
        RefreshRows();
}

void CPlayersPane::RefreshRows()
{
    if (!m_showing || m_table.Generation() == m_rowsGeneration)
        return;
    m_rowsGeneration = m_table.Generation();
    m_sinceRefresh.restart();
    std::vector<SPlayerRow> rows = m_table.Rows();
    std::vector<SPlayerLine> lines;
    lines.reserve(rows.size());
    for (SPlayerRow& row : rows) {
        SPlayerLine line;
        line.key = std::move(row.key);
        line.name = QString::fromStdString(row.name);
        line.games = static_cast<int>(row.record.games);
        line.wins = static_cast<int>(row.record.wins);
        line.losses = static_cast<int>(row.record.losses);
        line.noWinner = static_cast<int>(row.record.noWinner);
        line.firstYear = row.firstYear;
        line.lastYear = row.lastYear;
        lines.push_back(std::move(line));
    }
    // The selection is kept by key across the new rows.
    const std::vector<std::string> selected = SelectedKeys();
    m_model->SetLines(std::move(lines));
    if (!selected.empty()) {
        QItemSelection selection;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const std::string& key = m_model->Lines()[static_cast<std::size_t>(row)].key;
            if (std::find(selected.begin(), selected.end(), key) != selected.end()) {
                const QModelIndex index = m_sorted->mapFromSource(m_model->index(row, 0));
                if (index.isValid())
                    selection.select(index, index);
            }
        }
        m_view->selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    if (!m_record->PlayerKey().empty())
        ShowRecordOf(m_record->PlayerKey());
}

void CPlayersPane::ShowRecordOf(const std::string& key)
{
    const std::optional<SPlayerRecord> record = m_table.Record(key);
    if (!record) {
        m_record->Clear();
        return;
    }
    CPlayerRecordPane::SRecord shown;
    shown.key = record->key;
    shown.name = QString::fromStdString(record->name);
    for (const SYearRecord& year : record->years) {
        if (year.year > 0)
            shown.years[year.year] = YearOf(year.record);
    }
    shown.total = ColourOf(record->total);
    shown.noWinner = static_cast<int>(record->total.noWinner);
    shown.asBlack = ColourOf(record->asBlack);
    shown.asWhite = ColourOf(record->asWhite);
    shown.opponents.reserve(record->opponents.size());
    for (const SOpponentRecord& opponent : record->opponents) {
        SOpponentLine line;
        line.key = opponent.key;
        line.name = QString::fromStdString(opponent.name);
        line.games = static_cast<int>(opponent.record.games);
        line.wins = static_cast<int>(opponent.record.wins);
        line.losses = static_cast<int>(opponent.record.losses);
        line.lastGame = DayText(opponent.lastDay, opponent.lastYear);
        shown.opponents.push_back(std::move(line));
    }
    m_record->ShowRecord(std::move(shown));
}

bool CPlayersPane::ShowPlayer(const std::string& key)
{
    const std::optional<SPlayerRecord> record = m_table.Record(key);
    if (!record)
        return false;
    ShowRecordOf(key);
    emit FilterList(PlayerFilterText(QString::fromStdString(record->name)));
    return true;
}

std::vector<std::string> CPlayersPane::SelectedKeys() const
{
    std::vector<std::string> keys;
    if (m_view == nullptr || m_view->selectionModel() == nullptr)
        return keys;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) {
        const QModelIndex source = m_sorted->mapToSource(index);
        if (source.isValid())
            keys.push_back(m_model->Lines()[static_cast<std::size_t>(source.row())].key);
    }
    return keys;
}

void CPlayersPane::SaveAliases(const CPlayerAliases& aliases)
{
    aliases.Save(m_store);
    m_table.SetAliases(aliases);
    RefreshRows();
}

void CPlayersPane::OnSamePlayer()
{
    // Each player is named as the row shows them, which keys as that player
    // and is the name a shared alias file should carry; the first selected
    // heads the join.
    std::vector<std::string> names;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows()) {
        const QModelIndex source = m_sorted->mapToSource(index);
        if (source.isValid())
            names.push_back(m_model->Lines()[static_cast<std::size_t>(source.row())].name.toStdString());
    }
    CPlayerAliases aliases = m_table.Aliases();
    if (names.size() < 2 || !aliases.Join(names))
        return;
    SaveAliases(aliases);
}

void CPlayersPane::OnSplit()
{
    const std::vector<std::string> keys = SelectedKeys();
    if (keys.empty())
        return;
    CPlayerAliases aliases = m_table.Aliases();
    for (const std::vector<std::string>& group : aliases.Groups()) {
        if (m_table.KeyOf(group.front()) == keys.front()) {
            const std::string first = group.front();
            if (aliases.Split(first))
                SaveAliases(aliases);
            return;
        }
    }
}

void CPlayersPane::OnExportAliases()
{
    const QString path = m_prompts.GetSaveFileName(this, QStringLiteral("Export Aliases"), kAliasFilter,
                                                   QStringLiteral("txt"), QStringLiteral("aliases.txt"));
    if (path.isEmpty())
        return;
    std::string error;
    if (!WriteFileSafely(PathToBytes(path), m_table.Aliases().ExportText(), &error))
        m_prompts.MessageBox(this,
                             QStringLiteral("The aliases could not be written to %1: %2")
                                 .arg(path, QString::fromLocal8Bit(error.c_str())),
                             IPrompts::EIcon::Error);
}

void CPlayersPane::OnImportAliases()
{
    const QString path = m_prompts.GetOpenFileName(this, QStringLiteral("Import Aliases"), kAliasFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_prompts.MessageBox(this, QStringLiteral("%1 could not be read: %2").arg(path, file.errorString()),
                             IPrompts::EIcon::Error);
        return;
    }
    const QByteArray bytes = file.readAll();
    CPlayerAliases aliases = m_table.Aliases();
    if (aliases.ImportText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) == 0) {
        m_prompts.MessageBox(this, QStringLiteral("%1 joins no names that are not joined already.").arg(path),
                             IPrompts::EIcon::Information);
        return;
    }
    SaveAliases(aliases);
}
