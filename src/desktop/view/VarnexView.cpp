#include "desktop/view/VarnexView.h"

#include "cache/HeaderCache.h"
#include "collection/VarnexDoc.h"
#include "columns/ColumnLayout.h"
#include "desktop/app/Prompts.h"
#include "desktop/app/WaitCursor.h"
#include "desktop/view/BoardPictures.h"
#include "desktop/view/DuplicatesView.h"
#include "desktop/view/FontRecordQt.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/TextDrop.h"
#include "desktop/view/ViewerLaunch.h"
#include "game/BoardPicture.h"
#include "qtcore/ByteText.h"
#include "qtcore/DecodedText.h"
#include "qtcore/FilterText.h"
#include "report/DisplayName.h"
#include "report/ExportWriter.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

// Longest stretch a viewer launch keeps the event loop waiting: about two
// frames, so the window repaints and answers while many rows start.
constexpr qint64 kLaunchSliceMs = 30;
// More games than this at once are opened only when the user says so.
constexpr std::size_t kLaunchWithoutAsking = 20;

int StyleCodeOf(int command)
{
    switch (command) {
    case ID_VIEW_LARGEICON:
        return CReportListCtrl::kStyleLargeIcons;
    case ID_VIEW_DETAILS:
        return CReportListCtrl::kStyleDetails;
    case ID_VIEW_SMALLICON:
        return CReportListCtrl::kStyleSmallIcons;
    case ID_VIEW_LIST:
        return CReportListCtrl::kStyleList;
    default:
        return -1;
    }
}

// 0x00BBGGRR, as the colour is stored.
std::int32_t ColorToStored(const QColor& color)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                     (static_cast<std::uint32_t>(color.green()) << 8) |
                                     (static_cast<std::uint32_t>(color.blue()) << 16));
}

QColor ColorFromStored(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

// The setting is named with the blank the command line puts after it. The
// default names a program of another platform, which no one here has: tell
// where to set the real one.
QString ViewerFailedMessage(const std::string& setting)
{
    const std::string viewer = ViewerToStart(setting);
    QString text = QStringLiteral("Failed to start the viewer program: %1").arg(BytesToDisplayText(viewer + ' '));
    if (setting == settings::kViewer.fallback)
        text += QStringLiteral("\nSet your viewer program in View > Options > Others.");
    return text;
}

} // namespace

CVarnexView::CVarnexView(CVarnexDoc& doc, ISettingsStore& store, IPrompts& prompts, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_store(store), m_prompts(prompts), m_shownNames(std::make_unique<CDecodedText>())
{
    m_sort.m_nColSort = ReadInt(m_store, settings::kColSort);
    m_sort.m_nColSortCur = ReadInt(m_store, settings::kColSortCur);
    m_sort.m_bByMeaning = ReadInt(m_store, settings::kSortByMeaning) != 0;
}

CVarnexView::~CVarnexView()
{
    Destroy();
    WriteInt(m_store, settings::kColSort, m_sort.m_nColSort);
    WriteInt(m_store, settings::kColSortCur, m_sort.m_nColSortCur);
}

bool CVarnexView::Create()
{
    if (m_bCreated)
        return true;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pFilterBar = new CQuickFilterBar(this);
    layout->addWidget(m_pFilterBar);
    m_pList = new CReportListCtrl(this);
    m_pList->setObjectName(QStringLiteral("reportList"));
    layout->addWidget(m_pList);
    connect(m_pFilterBar, &CQuickFilterBar::FilterChanged, this, &CVarnexView::SetFilterText);
    m_duplicates = std::make_unique<CDuplicatesView>(*m_pList, *m_pFilterBar);
    connect(m_pFilterBar, &CQuickFilterBar::Closed, this, [this] { m_duplicates->Hide(); });
    connect(m_pList, &CReportListCtrl::HeaderClicked, this, &CVarnexView::OnHeaderClick);
    // The filter's field terms look in the rows' records, shown or not.
    m_pList->Model().SetRecordSource(
        [this](const std::string& key) -> const CGameEntry* { return m_doc.m_mapFiles.Find(key); }, &m_store);
    m_pList->Model().SetNoneCharset(ReadString(m_store, settings::kNoneCharset));

    // Font and text colour: a stored font that is not a whole record is
    // ignored, and the list keeps its own font.
    CLogFontRecord font = RecordFromFont(m_pList->GetListFont());
    if (const std::optional<std::string> stored = ReadBinary(m_store, settings::kLogfont)) {
        if (const std::optional<CLogFontRecord> decoded = CLogFontRecord::Decode(*stored))
            font = *decoded;
    }
    m_pList->SetTextColor(ColorFromStored(ReadInt(m_store, settings::kTextColor)));
    ApplyFont(font, true);

    m_bFullPath = ReadInt(m_store, settings::kFullPath) != 0;

    // The pictures are stored beside the headers of whatever collection is
    // open when they are made.
    m_pList->BoardPictures().SetCacheSource([this] { return m_doc.HeaderCache(); });
    ReadOpenAt();
    m_bBoardPictures = ReadInt(m_store, settings::kBoardPictures) != 0;
    m_pList->SetBoardPictures(m_bBoardPictures);

    LoadColumns();

    const std::int32_t style = ReadInt(m_store, settings::kStyle);
    if (style != 0)
        m_pList->SetStyle((m_pList->GetStyle() & ~CReportListCtrl::kStyleMask) | (style & CReportListCtrl::kStyleMask));

    m_bCanDrop = RegisterDropTarget();
    if (!m_bCanDrop)
        m_prompts.MessageBox(this, QStringLiteral("Cannot register for drop target!"), IPrompts::EIcon::Error);

    m_bCreated = true;
    return true;
}

bool CVarnexView::RegisterDropTarget()
{
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_pList->DetailsView()),
                                    static_cast<QAbstractItemView*>(m_pList->IconView())}) {
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
        // Enter arrives at the view itself, not at its viewport.
        view->installEventFilter(this);
    }
    return true;
}

void CVarnexView::Destroy()
{
    if (!m_bCreated || m_bDestroyed)
        return;
    m_bDestroyed = true;
    SaveColumnWidths();
    RemoveRow(nullptr);
    StoreAppearance();
}

void CVarnexView::StoreAppearance()
{
    WriteInt(m_store, settings::kStyle, m_pList->GetStyle());
    WriteInt(m_store, settings::kTextColor, ColorToStored(m_pList->GetTextColor()));
    WriteInt(m_store, settings::kFullPath, m_bFullPath ? 1 : 0);
    WriteBinary(m_store, settings::kLogfont, CurrentFont().Encode());
}

void CVarnexView::OnUpdate(int hint, const CHintPayload& payload)
{
    if (!m_pList || m_bDestroyed)
        return;
    if (hint == hintFileAdded || hint == hintFileRemoved)
        m_duplicates->RowsChanged();
    switch (hint) {
    case hintFileAdded:
        if (payload.path)
            AddRow(*payload.path);
        else
            FillRows();
        break;
    case hintFileRemoved:
        RemoveRow(payload.path);
        break;
    case hintLoadCount:
        m_pList->SetItemCount(payload.count);
        break;
    case hintIdle:
        emit StatusCounts(SelectedCount(), RowCount(), FileCount());
        m_duplicates->Count();
        emit DuplicateCounts(m_duplicates->Files(), m_duplicates->Games(), m_duplicates->IsShowing());
        emit ShownCounts(ShownCount(), RowCount(), m_pList->IsFiltering());
        break;
    case hintFlagsChanged:
        // The viewed mark is the file's: every row of its games shows it.
        if (payload.path) {
            for (std::uint32_t game = 0;; ++game) {
                const int row = m_pList->FindItem(*payload.path, game);
                if (row < 0)
                    break;
                SetRowImage(row, payload.flags);
            }
        } else {
            SetRowImage(payload.tag, payload.flags);
        }
        break;
    case hintFileChanged:
        if (payload.path)
            UpdateRow(*payload.path);
        break;
    case hintBatchDone:
        m_pList->Model().RetryUnsureRows();
        SortRows();
        break;
    default:
        break;
    }
}

void CVarnexView::AddRow(const std::string& path, const CGameEntry* entry)
{
    if (!entry)
        entry = m_doc.m_mapFiles.Find(path);
    // One row for each game of the file.
    const std::size_t games = entry ? entry->GameCount() : 1;
    for (std::size_t game = 0; game < games; ++game)
        m_pList->InsertItem(MakeReportRow(path, entry, m_columns, m_bFullPath, m_store, m_shownNames.get(), game),
                            entry ? &entry->Game(game) : nullptr);
}

void CVarnexView::FillRows()
{
    RemoveRow(nullptr);
    m_doc.m_mapFiles.ForEach([this](const std::string& path, const CGameEntry& entry) { AddRow(path, &entry); });
    m_pList->Model().RetryUnsureRows();
}

void CVarnexView::RemoveRow(const std::string* path)
{
    if (!path) {
        m_pList->DeleteAllItems();
        return;
    }
    // Every game's row: their numbers run from 0 without a gap.
    for (std::uint32_t game = 0; m_pList->DeleteItemByKey(*path, game); ++game) {
    }
}

void CVarnexView::UpdateRow(const std::string& path)
{
    const CGameEntry* entry = m_doc.m_mapFiles.Find(path);
    if (!entry || FindRow(path) < 0)
        return;
    // The file may hold more or fewer games than before: the rows of the
    // games it still holds change in place, new ones come at the end.
    const std::size_t games = entry->GameCount();
    for (std::size_t game = 0; game < games; ++game) {
        // A board made of the game before is made again when next shown.
        m_pList->BoardPictures().Forget(path, static_cast<std::uint32_t>(game));
        CReportRow made = MakeReportRow(path, entry, m_columns, m_bFullPath, m_store, m_shownNames.get(), game);
        const int row = m_pList->FindItem(path, static_cast<std::uint32_t>(game));
        if (row >= 0) {
            m_pList->SetItemCells(row, std::move(made.cells), &entry->Game(game), made.numbered);
        } else {
            made.image = (entry->m_nFlags & ENTRY_VIEWED) ? 1 : 0;
            m_pList->InsertItem(std::move(made), &entry->Game(game));
        }
    }
    for (auto game = static_cast<std::uint32_t>(games); m_pList->DeleteItemByKey(path, game); ++game) {
    }
}

void CVarnexView::ReadOpenAt()
{
    if (!m_pList)
        return;
    m_pList->BoardPictures().SetOpenAt(
        OpenAtOfChoice(ReadInt(m_store, settings::kPreviewAt), ReadInt(m_store, settings::kPreviewMove)));
    m_pList->IconView()->viewport()->update();
}

int CVarnexView::FindRow(const std::string& path)
{
    return m_pList->FindItem(path);
}

std::string CVarnexView::GetDisplayName(const std::string& path) const
{
    return ::GetDisplayName(path, m_bFullPath);
}

void CVarnexView::SetRowImage(int row, std::uint32_t flags)
{
    m_pList->SetItemImage(row, (flags & 1u) ? 1 : 0);
}

void CVarnexView::LoadColumns()
{
    if (!m_columns.empty())
        SaveColumnWidths();
    CColumnLayout layout = BuildColumnLayout(m_store);
    m_columns = std::move(layout.columns);
    m_pList->SetColumns(layout.listColumns);
    m_pList->ShowSortIndicator(m_sort);
}

void CVarnexView::SaveColumnWidths()
{
    if (m_pList->GetViewStyle() != CReportListCtrl::kStyleDetails)
        return;
    std::vector<std::int32_t> widths;
    const int count = static_cast<int>(m_columns.size()) + 1;
    widths.reserve(static_cast<std::size_t>(count));
    for (int c = 0; c < count; ++c)
        widths.push_back(m_pList->GetColumnWidth(c));
    ::SaveColumnWidths(m_store, widths);
}

void CVarnexView::SortRows()
{
    // A sort column that no longer exists is reset by the sort itself.
    CWaitCursor busy;
    m_pList->SortItems(m_sort, m_columns.size());
}

void CVarnexView::OnHeaderClick(int column)
{
    m_sort.Click(column);
    SortRows();
}

void CVarnexView::ApplyFont(const CLogFontRecord& font, bool redraw)
{
    m_pList->SetListFont(FontFromRecord(font, m_pList->GetListFont()));
    // Going through large icons and back makes the list lay its items out
    // anew for the font, whatever the style.
    const int style = m_pList->GetStyle();
    m_pList->SetRedraw(false);
    m_pList->SetStyle(style & ~CReportListCtrl::kStyleMask);
    m_pList->SetStyle(style);
    m_pList->SetRedraw(true);
    if (redraw)
        m_pList->update();
}

CLogFontRecord CVarnexView::CurrentFont() const
{
    return RecordFromFont(m_pList->GetListFont());
}

int CVarnexView::RowCount() const
{
    return m_pList ? m_pList->GetItemCount() : 0;
}

int CVarnexView::FileCount() const
{
    // Rows of a path the document no longer holds are gone at the next flush.
    return static_cast<int>(m_doc.m_mapFiles.size());
}

int CVarnexView::ShownCount()
{
    return m_pList ? m_pList->GetShownCount() : 0;
}

void CVarnexView::SetFilterText(const QString& text)
{
    if (!m_pList)
        return;
    const CRowFilter filter = MakeRowFilter(text, m_store);
    m_pFilterBar->ShowProblems(filter.Problems());
    m_pList->SetRowFilter(filter);
}

void CVarnexView::FilterTo(const QString& text)
{
    if (!m_pList)
        return;
    QWidget* focus = QApplication::focusWidget();
    OnFind();
    m_pFilterBar->Field()->setText(text);
    if (focus != nullptr)
        focus->setFocus(Qt::OtherFocusReason);
}

int CVarnexView::SelectedCount() const
{
    return m_pList ? m_pList->GetSelectedCount() : 0;
}

bool CVarnexView::TakesCommands() const
{
    return m_pList != nullptr;
}

std::span<const SCommand<CVarnexView>> CVarnexView::Commands() const
{
    using V = CVarnexView;
    constexpr auto anySelected = [](V& v, int, CCmdUI& ui) { ui.Enable(v.SelectedCount() > 0); };
    constexpr auto setStyle = [](V& v, int id) { v.OnStyle(StyleCodeOf(id)); };
    constexpr auto styleChecked = [](V& v, int id, CCmdUI& ui) {
        ui.SetCheck(StyleCodeOf(id) == (v.m_pList->GetStyle() & CReportListCtrl::kStyleMask));
    };
    static constexpr SCommand<V> kCommands[] = {
        {ID_EDIT_DELETE_FILES, [](V& v, int) { v.OnDeleteFiles(); }, anySelected},
        {ID_EDIT_LAUNCH_VIEWER, [](V& v, int id) { v.OnSelectionCommand(id); },
         [](V& v, int, CCmdUI& ui) { ui.Enable(v.SelectedCount() > 0 && !v.m_bLaunching); }},
        {ID_EDIT_MARK_VIEWED, [](V& v, int id) { v.OnSelectionCommand(id); }, anySelected},
        {ID_EDIT_MARK_UNVIEWED, [](V& v, int id) { v.OnSelectionCommand(id); }, anySelected},
        {ID_FILE_EXPORT, [](V& v, int) { v.OnExport(); },
         [](V& v, int, CCmdUI& ui) {
             const int code = v.m_pList->GetStyle() & CReportListCtrl::kStyleMask;
             ui.Enable(code == CReportListCtrl::kStyleDetails && v.ShownCount() > 0);
         }},
        {ID_EDIT_SELECT_EXTRA_COPIES, [](V& v, int) { v.m_duplicates->SelectExtraCopies(); },
         [](V& v, int, CCmdUI& ui) { ui.Enable(v.m_duplicates->IsShowing()); }},
        {ID_EDIT_FIND, [](V& v, int) { v.OnFind(); }},
        {ID_VIEW_LARGEICON, setStyle, styleChecked},
        {ID_VIEW_SMALLICON, setStyle, styleChecked},
        {ID_VIEW_LIST, setStyle, styleChecked},
        {ID_VIEW_DETAILS, setStyle, styleChecked},
        {ID_VIEW_AUTOARRANGE, [](V& v, int) { v.OnAutoArrange(); },
         [](V& v, int, CCmdUI& ui) { ui.SetCheck((v.m_pList->GetStyle() & CReportListCtrl::kAutoArrange) != 0); }},
        {ID_VIEW_LINEUP, [](V& v, int) { v.OnLineUp(); },
         [](V& v, int, CCmdUI& ui) {
             const int style = v.m_pList->GetStyle();
             const int code = style & CReportListCtrl::kStyleMask;
             ui.Enable((style & CReportListCtrl::kAutoArrange) == 0 &&
                       (code == CReportListCtrl::kStyleLargeIcons || code == CReportListCtrl::kStyleSmallIcons));
         }},
        {ID_VIEW_FULL_PATH, [](V& v, int) { v.OnFullPath(); },
         [](V& v, int, CCmdUI& ui) { ui.SetCheck(v.m_bFullPath); }},
        {ID_VIEW_BOARD_PICTURES, [](V& v, int) { v.OnBoardPictures(); },
         [](V& v, int, CCmdUI& ui) { ui.SetCheck(v.m_bBoardPictures); }},
        {ID_VIEW_SORT_MEANING, [](V& v, int) { v.OnSortByMeaning(); },
         [](V& v, int, CCmdUI& ui) { ui.SetCheck(v.m_sort.m_bByMeaning); }},
        {ID_VIEW_SET_FONT, [](V& v, int) { v.OnSetFont(); }},
        {ID_VIEW_OPTIONS, [](V& v, int) { v.OnOptions(); }},
    };
    return kCommands;
}

void CVarnexView::OnFind()
{
    // The texts the filter compares are made now, once, so that no
    // keystroke has to make them for every row.
    CWaitCursor busy;
    m_pList->Model().PrepareFilterTexts();
    m_pFilterBar->Open();
}

void CVarnexView::OnSortByMeaning()
{
    // Kept at once: the command-line tool reads it too.
    m_sort.m_bByMeaning = !m_sort.m_bByMeaning;
    WriteInt(m_store, settings::kSortByMeaning, m_sort.m_bByMeaning ? 1 : 0);
    SortRows();
}

void CVarnexView::OnDeleteFiles()
{
    CWaitCursor busy;
    // Every selected row's path goes to the document, which sends the removal
    // back as a hint. A row whose path the document does not hold is taken
    // out here, so the command always ends.
    const std::vector<int> rows = m_pList->GetSelectedRows();
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    std::unordered_set<std::string> taken;
    for (int row : rows) {
        std::string key = m_pList->GetItemKey(row);
        if (taken.insert(key).second)
            keys.push_back(std::move(key));
    }
    // A game's row stands for its whole file: a file of several games goes
    // only when the user agrees to lose its other games' rows too.
    if (!ConfirmDeleteOfSeveralGames(keys))
        return;
    for (const std::string& key : keys) {
        if (!m_doc.RemoveGameFile(key))
            RemoveRow(&key);
    }
    m_pList->Model().Flush();
}

bool CVarnexView::ConfirmDeleteOfSeveralGames(const std::vector<std::string>& paths)
{
    std::size_t files = 0;
    std::size_t games = 0;
    const std::string* only = nullptr;
    for (const std::string& path : paths) {
        const CGameEntry* entry = m_doc.m_mapFiles.Find(path);
        if (entry && entry->GameCount() > 1) {
            ++files;
            games += entry->GameCount();
            only = &path;
        }
    }
    if (files == 0)
        return true;
    const QString question =
        files == 1 ? QStringLiteral("%1 holds %2 games. Deleting the row takes the whole file, with all %2 games, "
                                    "out of the collection.\n\nDelete it?")
                         .arg(BytesToDisplayText(::GetDisplayName(*only, m_bFullPath)))
                         .arg(games)
                   : QStringLiteral("%1 of the files hold several games, %2 games in all. Deleting their rows takes "
                                    "each whole file, with all its games, out of the collection.\n\nDelete them?")
                         .arg(files)
                         .arg(games);
    const QPointer<CVarnexView> alive(this);
    const IPrompts::EAnswer answer = m_prompts.AskYesNo(this, question);
    // The question's own event loop may have closed the window.
    return alive && !m_bDestroyed && answer == IPrompts::EAnswer::Yes;
}

void CVarnexView::OnSelectionCommand(int id)
{
    const std::vector<int> rows = m_pList->GetSelectedRows();
    if (rows.empty())
        return;
    if (id == ID_EDIT_LAUNCH_VIEWER) {
        OnLaunchViewer(rows);
        return;
    }
    CWaitCursor busy;
    for (int row : rows) {
        const std::string path = m_pList->GetItemKey(row);
        switch (id) {
        case ID_EDIT_MARK_VIEWED:
            m_doc.ChangeFileFlags(path, ENTRY_VIEWED, 0, row);
            break;
        case ID_EDIT_MARK_UNVIEWED:
            m_doc.ChangeFileFlags(path, 0, ENTRY_VIEWED, row);
            break;
        default:
            return;
        }
    }
}

void CVarnexView::OnLaunchViewer(const std::vector<int>& rows)
{
    // Events run between starts, so the command can come again meanwhile.
    if (m_bLaunching)
        return;
    m_bLaunching = true;
    // Read afresh each time: the user may have changed it on the Others page.
    // Kept as bytes: a setting that is not UTF-8 starts as it was stored.
    const std::string viewer = ReadString(m_store, settings::kViewer);
    // Rows are named by path: while events run, rows may be sorted, filtered
    // or deleted, so each one is looked up again before its start.
    // The viewer opens files: games of one file selected together start it once.
    std::vector<std::string> paths;
    paths.reserve(rows.size());
    std::unordered_set<std::string> taken;
    for (int row : rows) {
        std::string path = m_pList->GetItemKey(row);
        if (taken.insert(path).second)
            paths.push_back(std::move(path));
    }
    const QPointer<CVarnexView> alive(this);
    // One viewer window per game: many at once are rarely meant.
    if (paths.size() > kLaunchWithoutAsking) {
        const IPrompts::EAnswer answer =
            m_prompts.AskYesNo(this, QStringLiteral("Open %1 games in the viewer?").arg(paths.size()));
        // The question's own event loop may have closed the window.
        if (!alive || m_bDestroyed)
            return;
        if (answer != IPrompts::EAnswer::Yes) {
            m_bLaunching = false;
            return;
        }
    }
    CWaitCursor busy;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (sinceEvents.elapsed() >= kLaunchSliceMs) {
            QCoreApplication::processEvents();
            // The window may have closed meanwhile.
            if (!alive || m_bDestroyed)
                return;
            sinceEvents.restart();
        }
        const int row = m_pList->FindItem(paths[i]);
        if (row < 0)
            continue;
        if (StartViewer(m_prompts, ViewerToStart(viewer), paths[i]))
            m_doc.ChangeFileFlags(paths[i], ENTRY_VIEWED, 0, row);
        else if (i == 0)
            m_prompts.MessageBox(this, ViewerFailedMessage(viewer), IPrompts::EIcon::Error);
    }
    m_bLaunching = false;
}

void CVarnexView::OnExport()
{
    const QString path = m_prompts.GetSaveFileName(this, QStringLiteral("Save List To A Text File"),
                                                   QStringLiteral("Text File (*.txt)|*.txt|All Files (*.*)|*.*||"),
                                                   QStringLiteral("txt"), QString());
    if (path.isEmpty())
        return;
    std::string text;
    // What the user sees is what is written: the rows the filter shows.
    const int rows = m_pList->GetShownCount();
    const bool filtering = m_pList->IsFiltering();
    const int columns = static_cast<int>(m_columns.size());
    std::vector<std::string> cells;
    for (int shown = 0; shown < rows; ++shown) {
        const int r = filtering ? m_pList->ShownRow(shown) : shown;
        cells.clear();
        for (int c = 0; c <= columns; ++c)
            cells.push_back(m_pList->GetItemText(r, c));
        AppendExportLine(text, cells);
    }
    std::string error;
    if (!WriteExportFile(PathToBytes(path), text, &error))
        m_prompts.MessageBox(this,
                             QStringLiteral("Cannot write the list to %1.\n%2")
                                 .arg(path, QString::fromLocal8Bit(error.data(), static_cast<qsizetype>(error.size()))),
                             IPrompts::EIcon::Error);
}

void CVarnexView::OnStyle(int code)
{
    const int style = m_pList->GetStyle();
    m_pList->SetStyle((style & ~CReportListCtrl::kStyleMask) | code);
}

void CVarnexView::OnAutoArrange()
{
    m_pList->SetStyle(m_pList->GetStyle() ^ CReportListCtrl::kAutoArrange);
}

void CVarnexView::OnLineUp()
{
    m_pList->Arrange();
}

void CVarnexView::OnFullPath()
{
    m_bFullPath = !m_bFullPath;
    const int rows = m_pList->GetItemCount();
    // A game's number is shown beside the name, not kept in it.
    for (int r = 0; r < rows; ++r)
        m_pList->SetItemText(r, 0, GetDisplayName(m_pList->GetItemKey(r)));
}

void CVarnexView::OnBoardPictures()
{
    // Kept at once, like the sort: nothing else needs to close first.
    m_bBoardPictures = !m_bBoardPictures;
    WriteInt(m_store, settings::kBoardPictures, m_bBoardPictures ? 1 : 0);
    m_pList->SetBoardPictures(m_bBoardPictures);
}

void CVarnexView::OnSetFont()
{
    const auto chosen = m_prompts.ChooseFont(this, m_pList->GetListFont(), m_pList->GetTextColor());
    if (!chosen)
        return;
    ApplyFont(RecordFromFont(chosen->first), true);
    m_pList->SetTextColor(chosen->second);
}

bool CVarnexView::AcceptsFileDrag(const QDropEvent& event) const
{
    return m_bCanDrop && !DroppedLocalFiles(event.mimeData()).empty();
}

bool CVarnexView::DropGameText(const QDropEvent& event)
{
    // The text is taken before the dialog opens: a drag source may free
    // its data once the drop has been delivered, and the dialog waits for
    // the user for as long as it takes.
    const QByteArray bytes = DroppedTextBytes(event.mimeData());
    const QString path = m_prompts.GetSaveFileName(
        this, QString(),
        QStringLiteral("MGT Files (*.mgt, *.sgf)|*.mgt;*.sgf|Glyphon Files (*.gph)|*.gph|All Files (*.*)|*.*||"),
        QStringLiteral("sgf"), QString());
    if (path.isEmpty() || bytes.isEmpty())
        return false;
    QString error;
    if (!WriteGameText(path, bytes, error)) {
        m_prompts.MessageBox(this, QStringLiteral("Cannot save the game text as %1: %2").arg(path, error),
                             IPrompts::EIcon::Error);
        return false;
    }
    m_doc.AddGameFile(PathToBytes(path), 0);
    return true;
}

bool CVarnexView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pList->IconView()->viewport() && FilterDragMouse(event))
        return true;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (event->type() == QEvent::DragEnter)
            m_bTextDrag = m_bCanDrop && IsGameTextDrag(drag->mimeData());
        if (AcceptsFileDrag(*drag) || m_bTextDrag) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (AcceptsFileDrag(*drop)) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            emit FilesDropped(DroppedLocalFiles(drop->mimeData()));
        } else if (m_bTextDrag && DropGameText(*drop)) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    case QEvent::MouseButtonDblClick:
        // The list selects the row under the pointer first; the viewer then
        // gets whatever is selected.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QMetaObject::invokeMethod(
                this, [this] { OnSelectionCommand(ID_EDIT_LAUNCH_VIEWER); }, Qt::QueuedConnection);
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && watched == m_pList->CurrentView()) {
            OnSelectionCommand(ID_EDIT_LAUNCH_VIEWER);
            return true;
        }
        if (key == Qt::Key_Escape && m_duplicates->IsShowing() && watched == m_pList->CurrentView()) {
            m_duplicates->Hide();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
