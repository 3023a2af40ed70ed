#pragma once

#include "qtcore/DisplayDecoder.h"
#include "report/KeyIndex.h"
#include "report/ReportRows.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class CGameEntry;
class CRowFilter;
class ISettingsStore;

// The rows of the report list. Row texts stay bytes; each row also keeps its
// texts as shown, decoded once when the row is made or its text is set. Changes are kept back and told to the views in
// one go: rows added while files are read become one insertion, rows removed one after another become one compaction.
// Everything the list control reads goes through Flush() first, so its indexes are the ones the views know.
class CReportListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // A cap on the room reserved for an announced count, which comes from a file.
    static constexpr std::int32_t kMaxReserve = 1000000;

    explicit CReportListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;

    // Tells the views about every change kept back.
    void Flush();

    // Rows as the list holds them, pending changes included.
    int Count() const { return static_cast<int>(m_rows.size() - m_deadCount); }
    // Appends a row, decoded for display in the charset entry's record names
    // (or its cells choose without one); the views hear of it at the next flush.
    void Append(CReportRow row, const CGameEntry* entry = nullptr);
    // Row index of key (the first row with it), or -1.
    // The row of key's game (from 0), or -1.
    int Find(const std::string& key, std::uint32_t game = 0);
    // Removes the row of key; the views hear of it at the next flush.
    bool RemoveKey(const std::string& key, std::uint32_t game = 0);
    void RemoveAt(int row);
    void Clear();
    void Reserve(std::int32_t count);

    const CReportRow& Row(int row);
    std::string Text(int row, int column);
    // The texts of a row as shown (column 0 first), for filtering and display.
    const CShownTexts& ShownTexts(int row);
    QString ShownText(int row, int column);
    void SetText(int row, int column, std::string text);
    // Every cell of a row made anew (its game file was read again), decoded
    // as Append decodes; the key, image and icon places stay.
    // numbered: the row's file holds several games (CReportRow::numbered).
    void ReplaceCells(int row, std::vector<std::string> cells, const CGameEntry* entry, bool numbered = false);
    void SetImage(int row, int image);
    // Hand-set icon places; slot 0 large icons, 1 small icons.
    void SetIconPlace(int row, int slot, int x, int y);
    void ClearIconPlaces(int slot);
    bool HasIconPlaces(int slot) const { return m_placed[slot] > 0; }
    // Published rows only, for the views' layout.
    const CReportRow::SIconPlace& IconPlace(int row, int slot) const
    {
        return m_rows[static_cast<std::size_t>(row)].places[slot];
    }
    // The row's texts as the quick filter compares them, with the record
    // fields filter looks in: made on first use and kept with the row. No
    // flush: the filter asks while views update.
    const CSearchText& FilterText(int row, const CRowFilter& filter);
    // Makes the filter's texts of every row that has none yet, then, in
    // short steps while the window is idle, the record fields the named
    // search terms look in (players, event, result, date), so that the key
    // that completes such a term only compares.
    void PrepareFilterTexts();
    // A row the views know, without a flush (painting asks).
    const CReportRow& PublishedRow(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    // The key of a row the views know, without a flush (the filter asks
    // while views update).
    const std::string& PublishedKey(int row) const { return m_rows[static_cast<std::size_t>(row)].key; }
    std::uint32_t PublishedGame(int row) const { return m_rows[static_cast<std::size_t>(row)].game; }

    // Where the filter finds a row's record (by its key) and the settings its
    // derived values read; without them a row has only its cells to search.
    using FEntryLookup = std::function<const CGameEntry*(const std::string& key)>;
    void SetRecordSource(FEntryLookup lookup, const ISettingsStore* store);

    // Decodes again the rows no rule could place when they were added, now
    // that their folders may have told their charset; called after a batch.
    void RetryUnsureRows();
    // The charset of records that name none (empty: automatic); applies to
    // rows added from now on.
    void SetNoneCharset(std::string_view charset);

    void SetHeaders(const std::vector<std::string>& headers);
    const std::vector<std::string>& Headers() const { return m_headers; }

    // Sorts with the core's row sort; the views see one layout change.
    void Sort(CSortState& sort, std::size_t columnCount);

    void SetIcons(const QIcon& unviewed, const QIcon& viewed);
    void SetTextColor(const QColor& color);

private:
    void ScheduleFlush();
    void OnFlushTimer();
    void OnFieldTimer();
    void Compact();
    void RebuildIndex();

    std::vector<CReportRow> m_rows;
    // Rows removed but not yet compacted away (only when m_deadCount > 0).
    std::vector<std::uint8_t> m_dead;
    std::size_t m_deadCount = 0;
    // The rows the views know about: the first m_published of m_rows.
    int m_published = 0;
    // Set while Flush tells the views of removals and insertions: a view that
    // asks for rows meanwhile (a filter proxy does) must not start another.
    bool m_flushing = false;
    // Row of each key; keys of removed rows not yet compacted are out of it.
    CKeyIndex m_index{[this](int row) {
        const CReportRow& r = m_rows[static_cast<std::size_t>(row)];
        return CKeyIndex::SKey(r.key, r.game);
    }};
    // The game a row shows, through the record source; none without one.
    const CGameEntry* GameOf(const std::string& key, std::uint32_t game) const;
    bool m_indexValid = true;
    // Two rows share a key (a path not in the collection added twice).
    bool m_hasDuplicates = false;
    std::vector<std::string> m_headers;
    // How many rows ever got a hand-set place per slot (an upper bound: it
    // only lets the layout skip the scan when nothing was placed).
    int m_placed[2] = {0, 0};
    QIcon m_icons[2];
    QColor m_textColor;
    QTimer m_flushTimer;
    // The idle steps of PrepareFilterTexts: the next row to give its fields.
    QTimer m_fieldTimer;
    std::size_t m_nextFieldRow = 0;
    QElapsedTimer m_sincePublish;
    CDisplayDecoder m_decoder;
    FEntryLookup m_entryLookup;
    // Keys of rows shown as Latin-1 because nothing placed their charset.
    std::vector<std::pair<std::string, std::uint32_t>> m_unsure;
    const ISettingsStore* m_store = nullptr;
};
