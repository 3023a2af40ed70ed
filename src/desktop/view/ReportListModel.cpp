#include "desktop/view/ReportListModel.h"

#include "collection/GameEntry.h"
#include "qtcore/ByteText.h"
#include "qtcore/FilterText.h"
#include "qtcore/RowDisplay.h"
#include "settings/MemorySettingsStore.h"

#include <QBrush>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

// More separate runs of removed rows than this are told as one layout change.
constexpr int kMaxRemovalRuns = 8;

constexpr int kFlushDelayMs = 30;
// Rows kept back until they are a quarter of the rows the views know...
constexpr long long kPublishGrowth = 4;
// ...or have waited this long.
constexpr qint64 kMaxPublishDelayMs = 1000;

} // namespace

CReportListModel::CReportListModel(QObject* parent) : QAbstractTableModel(parent)
{
    // A short delay lets rows added while the event pump runs between files
    // pile up, so the views lay out once per batch, not once per file.
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(kFlushDelayMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &CReportListModel::OnFlushTimer);
    m_fieldTimer.setInterval(0);
    connect(&m_fieldTimer, &QTimer::timeout, this, &CReportListModel::OnFieldTimer);
    m_sincePublish.start();
}

void CReportListModel::OnFlushTimer()
{
    // Every insertion makes the views lay out all their rows again, so while
    // files keep coming the rows are told in growing steps: a quarter more
    // than the views know, or whatever came in the last second. The layouts
    // of a whole read then cost a few layouts of the final list, not one per
    // step.
    const auto pending = static_cast<long long>(m_rows.size()) - m_published;
    if (m_deadCount == 0 && pending > 0 && pending < m_published / kPublishGrowth &&
        m_sincePublish.elapsed() < kMaxPublishDelayMs) {
        m_flushTimer.start();
        return;
    }
    Flush();
}

int CReportListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_published;
}

int CReportListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant CReportListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_published || index.column() >= columnCount())
        return {};
    const CReportRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (column < row.shown.size())
            return ShownToQString(row.shown[column]);
        return column < row.cells.size() ? BytesToDisplayText(row.cells[column]) : QString();
    case Qt::DecorationRole:
        if (column == 0)
            return m_icons[row.image == 1 ? 1 : 0];
        return {};
    case Qt::ForegroundRole:
        if (m_textColor.isValid())
            return QBrush(m_textColor);
        return {};
    default:
        return {};
    }
}

QVariant CReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(m_headers.size()))
        return {};
    if (role == Qt::DisplayRole)
        return BytesToDisplayText(m_headers[static_cast<std::size_t>(section)]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags CReportListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList CReportListModel::mimeTypes() const
{
    return QAbstractTableModel::mimeTypes();
}

void CReportListModel::ScheduleFlush()
{
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void CReportListModel::Flush()
{
    m_flushTimer.stop();
    if (m_flushing)
        return;
    const QScopedValueRollback flushing(m_flushing, true);
    if (m_deadCount > 0)
        Compact();
    const int total = static_cast<int>(m_rows.size());
    if (total > m_published) {
        beginInsertRows(QModelIndex(), m_published, total - 1);
        m_published = total;
        endInsertRows();
    }
    m_sincePublish.restart();
}

void CReportListModel::Compact()
{
    // Runs of removed rows among those the views know about.
    std::vector<std::pair<int, int>> runs;
    for (int r = 0; r < m_published; ++r) {
        if (!m_dead[static_cast<std::size_t>(r)])
            continue;
        if (!runs.empty() && runs.back().second == r - 1)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }

    auto eraseDead = [this](std::size_t from, std::size_t to) {
        std::size_t out = from;
        for (std::size_t r = from; r < to; ++r) {
            if (!m_dead[r]) {
                if (out != r)
                    m_rows[out] = std::move(m_rows[r]);
                ++out;
            }
        }
        return out;
    };

    const auto published = static_cast<std::size_t>(m_published);
    if (runs.size() <= static_cast<std::size_t>(kMaxRemovalRuns)) {
        // Few runs: proper removals, last first, so the views keep what they can.
        // Unpublished dead rows are dropped without a word.
        std::size_t tail = m_rows.size();
        const std::size_t keptTail = eraseDead(published, tail);
        m_rows.resize(keptTail);
        m_dead.resize(keptTail);
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
            beginRemoveRows(QModelIndex(), it->first, it->second);
            const auto first = m_rows.begin() + it->first;
            m_rows.erase(first, first + (it->second - it->first + 1));
            m_dead.erase(m_dead.begin() + it->first, m_dead.begin() + it->second + 1);
            m_published -= it->second - it->first + 1;
            endRemoveRows();
        }
    } else {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::NoLayoutChangeHint);
        std::vector<int> newRow(published, -1);
        int next = 0;
        for (std::size_t r = 0; r < published; ++r) {
            if (!m_dead[r])
                newRow[r] = next++;
        }
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from) {
            const int mapped = index.row() < m_published ? newRow[static_cast<std::size_t>(index.row())] : -1;
            to.append(mapped < 0 ? QModelIndex() : createIndex(mapped, index.column()));
        }
        const std::size_t kept = eraseDead(0, m_rows.size());
        m_rows.resize(kept);
        m_published = next;
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::NoLayoutChangeHint);
    }
    m_dead.clear();
    m_deadCount = 0;
    m_indexValid = false;
}

void CReportListModel::RebuildIndex()
{
    m_index.Clear();
    m_index.Reserve(m_rows.size());
    m_hasDuplicates = false;
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        if (m_deadCount > 0 && m_dead[r])
            continue;
        if (!m_index.Insert(m_rows[r].key, static_cast<int>(r), m_rows[r].game))
            m_hasDuplicates = true;
    }
    m_indexValid = true;
}

void CReportListModel::Append(CReportRow row, const CGameEntry* entry)
{
    // A record no rule could place may yet take its folder's charset, once
    // the folder's other records are known.
    if (DecodeRowForDisplay(row, entry, m_decoder) == CDisplayDecoder::ERule::Latin1 && entry)
        m_unsure.emplace_back(row.key, row.game);
    const int at = static_cast<int>(m_rows.size());
    if (m_indexValid) {
        // A key already there keeps pointing at its first row.
        if (!m_index.Insert(row.key, at, row.game))
            m_hasDuplicates = true;
    }
    m_rows.push_back(std::move(row));
    if (m_deadCount > 0)
        m_dead.push_back(0);
    ScheduleFlush();
}

int CReportListModel::Find(const std::string& key, std::uint32_t game)
{
    Flush();
    if (!m_indexValid)
        RebuildIndex();
    return m_index.Find(key, game);
}

bool CReportListModel::RemoveKey(const std::string& key, std::uint32_t game)
{
    if (!m_indexValid)
        RebuildIndex();
    const int found = m_index.Find(key, game);
    if (found < 0)
        return false;
    const auto row = static_cast<std::size_t>(found);
    m_index.Erase(key, game);
    if (m_deadCount == 0)
        m_dead.assign(m_rows.size(), 0);
    m_dead[row] = 1;
    ++m_deadCount;
    // Another row may carry the same key; only a full scan finds it.
    if (m_hasDuplicates)
        m_indexValid = false;
    ScheduleFlush();
    return true;
}

void CReportListModel::RemoveAt(int row)
{
    Flush();
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    m_published = static_cast<int>(m_rows.size());
    endRemoveRows();
    m_indexValid = false;
}

void CReportListModel::Clear()
{
    m_flushTimer.stop();
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_dead.clear();
    m_deadCount = 0;
    m_published = 0;
    m_index.Clear();
    m_indexValid = true;
    m_hasDuplicates = false;
    m_placed[0] = m_placed[1] = 0;
    m_unsure.clear();
    m_decoder.ForgetFolders();
    endResetModel();
}

void CReportListModel::Reserve(std::int32_t count)
{
    if (count <= 0)
        return;
    const auto wanted = static_cast<std::size_t>(std::min(count, kMaxReserve));
    m_rows.reserve(wanted);
    m_index.Reserve(wanted);
}

const CReportRow& CReportListModel::Row(int row)
{
    Flush();
    return m_rows.at(static_cast<std::size_t>(row));
}

std::string CReportListModel::Text(int row, int column)
{
    Flush();
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0)
        return {};
    const CReportRow& r = m_rows[static_cast<std::size_t>(row)];
    const auto c = static_cast<std::size_t>(column);
    return c < r.cells.size() ? r.cells[c] : std::string();
}

void CReportListModel::SetText(int row, int column, std::string text)
{
    Flush();
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0)
        return;
    CReportRow& r = m_rows[static_cast<std::size_t>(row)];
    const auto c = static_cast<std::size_t>(column);
    if (c >= r.cells.size())
        r.cells.resize(c + 1);
    r.cells[c] = std::move(text);
    if (c == 0 && !r.shown.empty()) {
        // The file name decodes as every row's does (DecodeRowForDisplay),
        // and the other cells keep the charset their record chose.
        const QString name = BytesToDisplayText(r.cells[0]);
        r.shown.set(0, std::u16string_view(reinterpret_cast<const char16_t*>(name.utf16()),
                                           static_cast<std::size_t>(name.size())));
    } else {
        // A set text carries no record with it: the cells choose again.
        DecodeRowForDisplay(r, nullptr, m_decoder);
    }
    r.search.clear();
    const QModelIndex changed = index(row, column);
    if (changed.isValid())
        emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void CReportListModel::ReplaceCells(int row, std::vector<std::string> cells, const CGameEntry* entry)
{
    Flush();
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    CReportRow& r = m_rows[static_cast<std::size_t>(row)];
    r.cells = std::move(cells);
    DecodeRowForDisplay(r, entry, m_decoder);
    r.search.clear();
    if (row < m_published && !m_headers.empty())
        emit dataChanged(index(row, 0), index(row, static_cast<int>(m_headers.size()) - 1), {Qt::DisplayRole});
}

const CShownTexts& CReportListModel::ShownTexts(int row)
{
    return Row(row).shown;
}

QString CReportListModel::ShownText(int row, int column)
{
    Flush();
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0)
        return {};
    const auto& shown = m_rows[static_cast<std::size_t>(row)].shown;
    const auto c = static_cast<std::size_t>(column);
    return c < shown.size() ? ShownToQString(shown[c]) : QString();
}

const CSearchText& CReportListModel::FilterText(int row, const CRowFilter& filter)
{
    CReportRow& r = m_rows.at(static_cast<std::size_t>(row));
    if (r.search.empty())
        r.search.cells = r.shown.empty() ? FoldedRowText(r.cells) : FoldedShownText(r.shown);
    const auto missing = [&r](const std::string& id) { return !r.search.HasField(id); };
    // The record is looked up only for fields the row has not got yet.
    if (std::any_of(filter.FieldIds().begin(), filter.FieldIds().end(), missing)) {
        const CGameEntry* entry = GameOf(r.key, r.game);
        static const CMemorySettingsStore kNoSettings;
        AddSearchFields(r.search, filter, entry, m_store ? *m_store : kNoSettings, m_decoder, FolderOf(r.key));
    }
    return r.search;
}

void CReportListModel::PrepareFilterTexts()
{
    const CRowFilter noFields;
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        FilterText(static_cast<int>(r), noFields);
    m_nextFieldRow = 0;
    if (m_entryLookup)
        m_fieldTimer.start();
}

void CReportListModel::OnFieldTimer()
{
    // The fields of the named terms; a step of rows takes a few milliseconds.
    static const CRowFilter kNamedFields = MakeRowFilter(QStringLiteral("player:a event:a result:a date:2000"));
    constexpr std::size_t kRowsPerStep = 2000;
    const std::size_t end = std::min(m_rows.size(), m_nextFieldRow + kRowsPerStep);
    for (; m_nextFieldRow < end; ++m_nextFieldRow)
        FilterText(static_cast<int>(m_nextFieldRow), kNamedFields);
    if (m_nextFieldRow >= m_rows.size())
        m_fieldTimer.stop();
}

void CReportListModel::RetryUnsureRows()
{
    if (m_unsure.empty() || !m_entryLookup)
        return;
    const auto unsure = std::move(m_unsure);
    m_unsure.clear();
    for (const auto& [key, game] : unsure) {
        const int row = Find(key, game);
        const CGameEntry* entry = GameOf(key, game);
        if (row < 0 || !entry)
            continue;
        CReportRow& r = m_rows[static_cast<std::size_t>(row)];
        if (DecodeRowForDisplay(r, entry, m_decoder) == CDisplayDecoder::ERule::Latin1) {
            m_unsure.emplace_back(key, game);
            continue;
        }
        r.search.clear();
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
    }
}

const CGameEntry* CReportListModel::GameOf(const std::string& key, std::uint32_t game) const
{
    const CGameEntry* entry = m_entryLookup ? m_entryLookup(key) : nullptr;
    return entry && game < entry->GameCount() ? &entry->Game(game) : nullptr;
}

void CReportListModel::SetNoneCharset(std::string_view charset)
{
    m_decoder.SetNoneCharset(charset);
}

void CReportListModel::SetRecordSource(FEntryLookup lookup, const ISettingsStore* store)
{
    m_entryLookup = std::move(lookup);
    m_store = store;
}

void CReportListModel::SetImage(int row, int image)
{
    Flush();
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    m_rows[static_cast<std::size_t>(row)].image = image;
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, {Qt::DecorationRole});
}

void CReportListModel::SetIconPlace(int row, int slot, int x, int y)
{
    Flush();
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || slot < 0 || slot > 1)
        return;
    CReportRow::SIconPlace& place = m_rows[static_cast<std::size_t>(row)].places[slot];
    if (!place.set)
        ++m_placed[slot];
    place = {x, y, true};
}

void CReportListModel::ClearIconPlaces(int slot)
{
    if (slot < 0 || slot > 1 || m_placed[slot] == 0)
        return;
    for (CReportRow& row : m_rows)
        row.places[slot] = {};
    m_placed[slot] = 0;
}

void CReportListModel::SetHeaders(const std::vector<std::string>& headers)
{
    Flush();
    if (!m_headers.empty()) {
        beginRemoveColumns(QModelIndex(), 0, static_cast<int>(m_headers.size()) - 1);
        m_headers.clear();
        endRemoveColumns();
    }
    if (!headers.empty()) {
        beginInsertColumns(QModelIndex(), 0, static_cast<int>(headers.size()) - 1);
        m_headers = headers;
        endInsertColumns();
    }
}

void CReportListModel::Sort(CSortState& sort, std::size_t columnCount)
{
    Flush();
    const std::vector<std::size_t> order = SortOrder(m_rows, sort, columnCount);
    // No sort column, or rows already in order: nothing moves, and the views
    // are spared a layout of every row.
    bool moved = false;
    for (std::size_t i = 0; i < order.size() && !moved; ++i)
        moved = order[i] != i;
    if (!moved)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    ApplySortOrder(m_rows, order);
    // Made again when a key is next looked up.
    m_indexValid = false;

    // Selection and current row follow their own row through the sort's
    // permutation; two rows with one path keep their own state.
    std::vector<int> newRowOf(order.size());
    for (std::size_t to = 0; to < order.size(); ++to)
        newRowOf[order[to]] = static_cast<int>(to);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        const auto row = static_cast<std::size_t>(index.row());
        to.append(row < newRowOf.size() ? createIndex(newRowOf[row], index.column()) : QModelIndex());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CReportListModel::SetIcons(const QIcon& unviewed, const QIcon& viewed)
{
    m_icons[0] = unviewed;
    m_icons[1] = viewed;
}

void CReportListModel::SetTextColor(const QColor& color)
{
    m_textColor = color;
    if (m_published > 0 && !m_headers.empty())
        emit dataChanged(index(0, 0), index(m_published - 1, static_cast<int>(m_headers.size()) - 1),
                         {Qt::ForegroundRole});
}
