#include "desktop/pattern/PatternMode.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/pattern/CollectionPatternIndex.h"
#include "desktop/pattern/ContinuationTable.h"
#include "desktop/pattern/DateProfile.h"
#include "desktop/pattern/PatternBoard.h"
#include "desktop/pattern/PatternPanel.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/view/ReportListCtrl.h"
#include "game/GameTimeline.h"
#include "pattern/Pattern.h"
#include "pattern/SearchWithin.h"
#include "qtcore/DecodedText.h"
#include "report/ReportRows.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>

#include <algorithm>
#include <chrono>
#include <climits>
#include <map>
#include <unordered_set>

namespace {

int Clamped(std::size_t count)
{
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

} // namespace

CPatternMode::CPatternMode(CVarnexDoc& doc, CDesktopDocHost& host, CPreviewPane& preview, CReportListCtrl& list,
                           QObject* parent)
    : QObject(parent), m_doc(doc), m_host(host), m_preview(preview), m_list(list), m_panel(preview.PatternPanel()),
      m_decoded(std::make_unique<CDecodedText>())
{
    m_pool.setMaxThreadCount(1);
    m_doc.AddView(this);
    CPatternBoard* board = m_panel->Board();
    connect(board, &CPatternBoard::SearchRequested, this, &CPatternMode::Search);
    connect(board, &CPatternBoard::LetterClicked, this, &CPatternMode::ChooseContinuation);
    connect(board, &CPatternBoard::SketchEdited, m_panel, &CPatternPanel::UpdateKind);
    connect(m_panel->Table(), &CContinuationTable::RowChosen, this, &CPatternMode::ChooseContinuation);
    connect(m_panel->SearchButton(), &QPushButton::clicked, this, &CPatternMode::Search);
    connect(m_panel->ClearButton(), &QPushButton::clicked, this, &CPatternMode::ClearPattern);
    connect(m_panel->FromGameButton(), &QPushButton::clicked, this, &CPatternMode::FromGame);
    connect(m_panel->BackButton(), &QPushButton::clicked, this, &CPatternMode::Back);
    connect(m_panel->ForwardButton(), &QPushButton::clicked, this, &CPatternMode::Forward);
    // Walking the searches as a browser walks its pages.
    const auto shortcut = [this](const QKeySequence& key, void (CPatternMode::*slot)()) {
        auto* made = new QShortcut(key, m_panel, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(made, &QShortcut::activated, this, slot);
        // The status bar's Cancel takes Esc too while the index is completed.
        connect(made, &QShortcut::activatedAmbiguously, this, slot);
    };
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), &CPatternMode::Back);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), &CPatternMode::Forward);
    shortcut(QKeySequence(Qt::Key_Escape), &CPatternMode::Escape);
    // Esc in the list too shows every game again, as it leaves the
    // duplicates view.
    m_list.DetailsView()->installEventFilter(this);
    m_list.IconView()->installEventFilter(this);
    UpdateButtons();
}

bool CPatternMode::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_filtering && !m_searching) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            Escape();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

CPatternMode::~CPatternMode()
{
    ++m_ticket;
    m_pool.waitForDone();
    m_doc.RemoveView(this);
}

void CPatternMode::OnUpdate(int hint, const CHintPayload& /*payload*/)
{
    // Files added, removed or read again: the index is made anew at the
    // next search (its rows come from the cache, so that costs little).
    if (hint == hintFileAdded || hint == hintFileRemoved || hint == hintFileChanged)
        m_indexStale = true;
}

void CPatternMode::SetOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (on) {
        FromGame();
        m_preview.SetPatternMode(true);
        m_panel->Board()->setFocus(Qt::OtherFocusReason);
    } else {
        ++m_ticket;
        m_searching = false;
        ShowAll();
        m_preview.SetPatternMode(false);
    }
    emit Changed();
}

void CPatternMode::FromGame()
{
    CPatternSketch sketch;
    if (const SGamePosition* position = m_preview.Position())
        sketch.SetFromBoard(position->board);
    m_panel->Board()->SetSketch(sketch);
    m_panel->Board()->SetLetters({});
    m_panel->UpdateKind();
}

void CPatternMode::ClearPattern()
{
    CPatternSketch sketch(m_panel->Board()->Sketch().Size());
    m_panel->Board()->SetSketch(sketch);
    m_panel->Board()->SetLetters({});
    m_panel->UpdateKind();
}

void CPatternMode::Search()
{
    Run(m_panel->Board()->Sketch(), m_panel->FixedColours()->isChecked(), std::nullopt);
}

void CPatternMode::ChooseContinuation(int index)
{
    if (m_searching || m_shown < 0)
        return;
    const SStep& step = m_history[static_cast<std::size_t>(m_shown)];
    if (index < 0 || index >= static_cast<int>(step.continuations.size()))
        return;
    const SContinuationStats& move = step.continuations[static_cast<std::size_t>(index)];
    CPatternSketch sketch = step.sketch;
    sketch.Play(move.x, move.y, move.colour);
    std::vector<std::uint32_t> within;
    within.reserve(step.hits.size());
    for (const SPatternHit& hit : step.hits)
        within.push_back(hit.game);
    if (step.index != m_index || m_indexStale) {
        // The games are numbered anew in a new index: they are found again
        // there by their paths.
        if (!CompleteIndex())
            return;
        std::unordered_set<std::string> games;
        for (const SPatternHit& hit : step.hits)
            games.insert(GameKey(step.index->Path(hit.game), step.index->GameInFile(hit.game)));
        within.clear();
        for (std::uint32_t game = 0; game < m_index->GameCount(); ++game) {
            if (games.count(GameKey(m_index->Path(game), m_index->GameInFile(game))))
                within.push_back(game);
        }
    }
    m_panel->Board()->SetSketch(sketch);
    m_panel->Board()->SetLetters({});
    Run(sketch, step.fixedColours, std::move(within));
}

bool CPatternMode::CompleteIndex()
{
    if (m_index && !m_indexStale)
        return true;
    if (m_indexing || m_doc.IsBusy())
        return false;
    m_indexing = true;
    // A file added or removed while the rows are walked (the host lets
    // commands run) makes it stale again, for the next search.
    m_indexStale = false;
    auto index = std::make_shared<CCollectionPatternIndex>();
    bool built = false;
    {
        // The window may not close, nor the collection change, meanwhile.
        CVarnexDoc::CBusyScope busy(m_doc);
        m_host.BeginBatch(Clamped(m_doc.m_mapFiles.size()), true);
        // The host lets the window's events run and counts the games; Esc
        // and the Cancel button stop it.
        built = index->Build(m_doc, m_decoded.get(), [this](std::size_t) {
            m_host.BeforeRead();
            return m_host.StopRequested();
        });
        m_host.EndBatch();
    }
    m_indexing = false;
    if (!built) {
        m_indexStale = true;
        emit Message(QStringLiteral("Position search stopped"));
        return false;
    }
    m_index = std::move(index);
    return true;
}

void CPatternMode::Run(const CPatternSketch& sketch, bool fixedColours,
                       std::optional<std::vector<std::uint32_t>> within)
{
    if (!m_on || m_searching)
        return;
    SPatternParse parse = ParsePattern(sketch.RegionText(), sketch.RowsText(), sketch.Size(), fixedColours);
    if (!parse.pattern) {
        emit Message(QString::fromStdString(parse.error));
        return;
    }
    if (!CompleteIndex())
        return;
    m_searching = true;
    UpdateButtons();
    emit Message(QStringLiteral("Searching..."));
    auto step = std::make_shared<SStep>();
    step->sketch = sketch;
    step->fixedColours = fixedColours;
    step->index = m_index;
    const quint64 ticket = ++m_ticket;
    m_pool.start([this, ticket, step, pattern = std::move(*parse.pattern), within = std::move(within)] {
        const CPositionIndex& index = step->index->Index();
        const auto started = std::chrono::steady_clock::now();
        SPatternResult result;
        if (within) {
            // A refinement looks at the games of the search before only.
            result.hits = SearchPatternWithin(index, pattern, *within);
            result.continuations = TallyContinuations(index, result.hits);
        } else {
            result = SearchPattern(index, pattern);
        }
        step->searchMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        if (ticket != m_ticket.load())
            return;
        step->hits = std::move(result.hits);
        step->continuations = std::move(result.continuations);
        auto found = std::make_shared<std::unordered_map<std::string, int>>();
        found->reserve(step->hits.size());
        for (const SPatternHit& hit : step->hits) {
            const EStone winner = index.Winner(hit.game);
            step->blackWins += winner == EStone::Black;
            step->whiteWins += winner == EStone::White;
            found->emplace(GameKey(step->index->Path(hit.game), step->index->GameInFile(hit.game)),
                           static_cast<int>(hit.firstHit));
            if (const int year = step->index->Year(hit.game))
                ++step->years[year];
        }
        step->found = std::move(found);
        QMetaObject::invokeMethod(
            this,
            [this, ticket, step] {
                if (ticket == m_ticket.load())
                    Found(step);
            },
            Qt::QueuedConnection);
    });
}

void CPatternMode::Found(std::shared_ptr<SStep> step)
{
    m_searching = false;
    // A new search drops the searches that Back had stepped over.
    m_history.resize(static_cast<std::size_t>(m_shown + 1));
    m_history.push_back(std::move(*step));
    m_shown = static_cast<int>(m_history.size()) - 1;
    m_lastSearchMs = m_history.back().searchMs;
    ShowStep();
}

void CPatternMode::ShowStep()
{
    const SStep& step = m_history[static_cast<std::size_t>(m_shown)];

    std::vector<SBoardLetter> letters;
    std::vector<SContinuationRow> rows;
    for (std::size_t i = 0; i < step.continuations.size(); ++i) {
        const SContinuationStats& move = step.continuations[i];
        const QString letter = ContinuationLetter(i);
        if (!letter.isEmpty())
            letters.push_back({move.x, move.y, move.colour, letter});
        rows.push_back({letter, move.x, move.y, move.colour, move.games, move.blackWins, move.whiteWins});
    }
    m_panel->Board()->SetSketch(step.sketch);
    m_panel->Board()->SetLetters(std::move(letters));
    m_panel->FixedColours()->setChecked(step.fixedColours);
    m_panel->UpdateKind();
    m_panel->Table()->SetRows(std::move(rows), step.hits.size());

    m_panel->Profile()->SetYears(step.years);
    m_list.SetRowMatches(step.found);
    m_filtering = true;
    UpdateButtons();
    emit Message(FoundText(step.hits.size(), step.blackWins, step.whiteWins));
    emit Changed();
}

void CPatternMode::ShowAll()
{
    m_panel->Board()->SetLetters({});
    m_panel->Table()->SetRows({}, 0);
    m_panel->Profile()->SetYears({});
    if (m_filtering)
        m_list.SetRowMatches(nullptr);
    m_filtering = false;
    UpdateButtons();
}

void CPatternMode::Back()
{
    if (m_searching || !CanGoBack())
        return;
    --m_shown;
    ShowStep();
}

void CPatternMode::Forward()
{
    if (m_searching || !CanGoForward())
        return;
    ++m_shown;
    ShowStep();
}

void CPatternMode::Escape()
{
    if (m_indexing) {
        m_host.RequestStop();
        return;
    }
    if (m_searching) {
        ++m_ticket;
        m_searching = false;
        UpdateButtons();
        emit Message(QStringLiteral("Position search stopped"));
        return;
    }
    if (m_filtering) {
        ShowAll();
        emit Message(QString());
        emit Changed();
    }
}

std::optional<int> CPatternMode::FirstHit(const std::string& path, std::uint32_t game) const
{
    if (!m_filtering || m_shown < 0)
        return std::nullopt;
    const auto& found = *m_history[static_cast<std::size_t>(m_shown)].found;
    const auto it = found.find(GameKey(path, game));
    if (it == found.end())
        return std::nullopt;
    return it->second;
}

QString CPatternMode::StatusText() const
{
    if (!m_filtering || m_shown < 0)
        return {};
    const SStep& step = m_history[static_cast<std::size_t>(m_shown)];
    return FoundText(step.hits.size(), step.blackWins, step.whiteWins);
}

int CPatternMode::FoundGames() const
{
    return m_filtering && m_shown >= 0 ? static_cast<int>(m_history[static_cast<std::size_t>(m_shown)].hits.size()) : 0;
}

QString CPatternMode::FoundText(std::size_t games, std::size_t blackWins, std::size_t whiteWins)
{
    const auto whole = static_cast<std::uint32_t>(games);
    const QString found = games == 1 ? QStringLiteral("1 game") : QStringLiteral("%1 games").arg(games);
    return QStringLiteral("%1 with the pattern (Black wins %2, White wins %3)")
        .arg(found, PercentText(static_cast<std::uint32_t>(blackWins), whole),
             PercentText(static_cast<std::uint32_t>(whiteWins), whole));
}

void CPatternMode::UpdateButtons()
{
    m_panel->BackButton()->setEnabled(!m_searching && CanGoBack());
    m_panel->ForwardButton()->setEnabled(!m_searching && CanGoForward());
    m_panel->SearchButton()->setEnabled(!m_searching);
}
