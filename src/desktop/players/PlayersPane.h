#pragma once

#include "collection/UpdateHint.h"
#include "desktop/players/PlayerRecordPane.h"
#include "players/PlayerTable.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>
#include <string>

class CGameNameDecoder;
class CPlayersModel;
class CVarnexDoc;
class IPrompts;
class ISettingsStore;
class QAction;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

// The Players dock: every player of the collection once, with their games,
// wins and losses, sortable and filtered by name; the user's joins of
// spellings; one player's record below. It hears the document as the list
// does and counts each game in or out as its file comes and goes, so no
// change recounts the collection; it starts counting when it is first
// shown. The rows follow the counts when a batch ends and at idle time, and
// only while the dock is shown.
class CPlayersPane : public QWidget, public IDocView
{
    Q_OBJECT
public:
    CPlayersPane(CVarnexDoc& doc, ISettingsStore& store, IPrompts& prompts, QWidget* parent = nullptr);
    ~CPlayersPane() override;

    void OnUpdate(int hint, const CHintPayload& payload) override;

    // The dock shown or hidden: a shown dock brings its rows up to date, the
    // first time after counting every game there is.
    void SetShowing(bool showing);
    // The rows from the counts, now (when they changed).
    void RefreshRows();

    // Shows the record of the player with this key and filters the list to
    // their games; false when no game names them.
    bool ShowPlayer(const std::string& key);

    // The selected players joined under the first selected; the first
    // selected player's join undone. Both keep the aliases in the settings.
    void OnSamePlayer();
    void OnSplit();
    void OnExportAliases();
    void OnImportAliases();

    const CPlayerTable& Table() const { return m_table; }
    CPlayersModel& Model() const { return *m_model; }
    QSortFilterProxyModel& Sorted() const { return *m_sorted; }
    QTableView* PlayersView() const { return m_view; }
    QLineEdit* NameFilter() const { return m_filter; }
    CPlayerRecordPane* Record() const { return m_record; }

    // The quick-filter text that lists a player's games, and the games of
    // the two together when a second name is given.
    static QString PlayerFilterText(const QString& name, const QString& opponent = {});

signals:
    // The list is to show the rows this quick-filter text keeps.
    void FilterList(const QString& text);

private:
    void AddFile(const std::string& path);
    void RemoveFile(const std::string& path);
    void SaveAliases(const CPlayerAliases& aliases);
    // The keys of the selected rows, in the order they were selected.
    std::vector<std::string> SelectedKeys() const;
    // The record of the player with this key, anew from the counts; none
    // when no game names them any more.
    void ShowRecordOf(const std::string& key);

    CVarnexDoc& m_doc;
    ISettingsStore& m_store;
    IPrompts& m_prompts;
    // Names and results decoded as the list shows them.
    std::unique_ptr<CGameNameDecoder> m_shown;
    CPlayerTable m_table;
    std::uint64_t m_rowsGeneration = ~std::uint64_t{0};
    bool m_showing = false;
    // Whether the games are being counted: from the dock's first showing on.
    bool m_counting = false;
    // Rows made during a long read wait at least this long for the next.
    QElapsedTimer m_sinceRefresh;

    QLineEdit* m_filter = nullptr;
    CPlayersModel* m_model = nullptr;
    QSortFilterProxyModel* m_sorted = nullptr;
    QTableView* m_view = nullptr;
    CPlayerRecordPane* m_record = nullptr;
    QAction* m_samePlayer = nullptr;
    QAction* m_split = nullptr;
};
