#pragma once

#include "collection/UpdateHint.h"
#include "desktop/pattern/PatternSketch.h"
#include "pattern/PatternSearch.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CCollectionPatternIndex;
class CDecodedText;
class CDesktopDocHost;
class CPatternPanel;
class CPreviewPane;
class CReportListCtrl;
class CVarnexDoc;

// The position search of the window. On, the preview's board becomes the
// pattern board; a search runs on a thread of its own over the collection's
// position index (completed first where games are missing from it, with
// progress), and the list then shows only the games found while the board,
// the table and the date profile show their continuations. A continuation
// chosen is played onto the pattern and searched for within the games
// found; Back and Forward walk the searches made.
class CPatternMode : public QObject, public IDocView
{
    Q_OBJECT
public:
    CPatternMode(CVarnexDoc& doc, CDesktopDocHost& host, CPreviewPane& preview, CReportListCtrl& list,
                 QObject* parent = nullptr);
    // Waits for a search in progress.
    ~CPatternMode() override;

    bool IsOn() const { return m_on; }
    void SetOn(bool on);

    // Searches the whole collection for the pattern drawn.
    void Search();
    // Plays the continuation at index of the search shown, then searches
    // for the new pattern within the games of the search shown.
    void ChooseContinuation(int index);
    void Back();
    void Forward();
    bool CanGoBack() const { return m_shown > 0; }
    bool CanGoForward() const { return m_shown + 1 < static_cast<int>(m_history.size()); }
    // Esc: stops a search in progress; otherwise shows every game again.
    void Escape();

    bool IsSearching() const { return m_searching; }
    // How long the last search shown took on its thread, in milliseconds.
    double LastSearchMs() const { return m_lastSearchMs; }
    // Whether the list shows only the games of a search.
    bool IsFiltering() const { return m_filtering; }
    // What the status bar says of the search shown, and its games; empty
    // while the list shows every game.
    QString StatusText() const;
    int FoundGames() const;
    // The first hit of a game found by the search shown.
    std::optional<int> FirstHit(const std::string& path, std::uint32_t game = 0) const;

    // "N games with the pattern (Black wins P %, White wins Q %)".
    static QString FoundText(std::size_t games, std::size_t blackWins, std::size_t whiteWins);

    void OnUpdate(int hint, const CHintPayload& payload) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A search was shown, or the list shows every game again.
    void Changed();
    void Message(const QString& text);

private:
    // One search made: the pattern and what it found.
    struct SStep
    {
        CPatternSketch sketch;
        bool fixedColours = false;
        // The index the game numbers of hits are of.
        std::shared_ptr<const CCollectionPatternIndex> index;
        std::vector<SPatternHit> hits;
        std::vector<SContinuationStats> continuations;
        std::size_t blackWins = 0;
        std::size_t whiteWins = 0;
        // How long the search took on its thread.
        double searchMs = 0;
        // Made on the search's thread too, so the window only shows them:
        // each game found (its GameKey) with its first hit, and the games by
        // year of their first date.
        std::shared_ptr<const std::unordered_map<std::string, int>> found;
        std::map<int, int> years;
    };

    // Within: the games to keep (ascending), or all of them.
    void Run(const CPatternSketch& sketch, bool fixedColours, std::optional<std::vector<std::uint32_t>> within);
    bool CompleteIndex();
    void Found(std::shared_ptr<SStep> step);
    void ShowStep();
    void ShowAll();
    void FromGame();
    void ClearPattern();
    void UpdateButtons();

    CVarnexDoc& m_doc;
    CDesktopDocHost& m_host;
    CPreviewPane& m_preview;
    CReportListCtrl& m_list;
    CPatternPanel* m_panel = nullptr;
    // Results decoded as the list shows them, for the winners.
    std::unique_ptr<CDecodedText> m_decoded;

    bool m_on = false;
    std::shared_ptr<const CCollectionPatternIndex> m_index;
    bool m_indexStale = true;
    bool m_indexing = false;

    std::vector<SStep> m_history;
    int m_shown = -1;
    bool m_filtering = false;

    QThreadPool m_pool;
    std::atomic<quint64> m_ticket{0};
    bool m_searching = false;
    double m_lastSearchMs = 0;
};
