#include "desktop/view/ReportListCtrl.h"

#include "desktop/view/BoardPictures.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/RowFilterProxy.h"
#include "desktop/view/RowImages.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelection>
#include <QListView>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kLargeIcon = 32;
// Large icons with board pictures: a 19 by 19 board needs about three
// pixels a point before its stones can be told apart.
constexpr int kBoardIcon = 64;
constexpr int kSmallIcon = 10;

// In icon mode the list view puts labels below the icons; the small-icon
// style wants them to the right. Every item is as large as its grid cell,
// whatever its text: the view sizes all items from one row, so a size taken
// from that row's text would cut every other label to it. Each label is
// then cut only where its cell ends.
class CIconLabelDelegate : public QStyledItemDelegate
{
public:
    CIconLabelDelegate(const CReportListModel& model, const QSortFilterProxyModel& proxy, QObject* parent)
        : QStyledItemDelegate(parent), m_model(model), m_proxy(proxy)
    {
    }
    bool m_labelsRight = false;
    QSize m_cellSize;
    // Set while the rows show board pictures (large icons with the option).
    CBoardPictures* m_pictures = nullptr;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (m_cellSize.isValid())
            return m_cellSize;
        return QStyledItemDelegate::sizeHint(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_labelsRight) {
            option->decorationPosition = QStyleOptionViewItem::Left;
            option->displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
            option->features &= ~QStyleOptionViewItem::WrapText;
        }
        if (m_pictures && option->widget) {
            // A picture not made yet leaves the row picture in place; the
            // row is drawn again once it is made.
            const int source = m_proxy.mapToSource(index).row();
            if (source < 0)
                return;
            const CReportRow& row = m_model.PublishedRow(source);
            QPixmap board;
            if (m_pictures->Pixmap(row.key, row.game, row.image, kBoardIcon, option->widget->devicePixelRatioF(),
                                   source, board)) {
                option->icon = QIcon(board);
                option->decorationSize = QSize(kBoardIcon, kBoardIcon);
            }
        }
    }

private:
    const CReportListModel& m_model;
    const QSortFilterProxyModel& m_proxy;
};

// Icon positions are set from outside the view. Qt forgets them whenever it
// lays the items out again (a style switch, a sort, new rows), so the places
// kept in the model rows are put back after every layout.
class CIconListView : public QListView
{
public:
    CIconListView(CReportListModel& model, QWidget* parent) : QListView(parent), m_model(model) {}
    using QListView::setPositionForIndex;
    // The model's place slot whose places apply now, or -1.
    int m_placeSlot = -1;

    void doItemsLayout() override
    {
        QListView::doItemsLayout();
        if (m_placeSlot < 0 || !m_model.HasIconPlaces(m_placeSlot))
            return;
        const int rows = m_model.rowCount();
        for (int r = 0; r < rows; ++r) {
            const CReportRow::SIconPlace& place = m_model.IconPlace(r, m_placeSlot);
            // The view shows the filter's rows: the place goes to the row shown.
            const auto* shown = qobject_cast<const QSortFilterProxyModel*>(model());
            const QModelIndex index = shown ? shown->mapFromSource(m_model.index(r, 0)) : m_model.index(r, 0);
            if (place.set && index.isValid())
                setPositionForIndex(QPoint(place.x, place.y), index);
        }
    }

private:
    CReportListModel& m_model;
};

} // namespace

CReportListCtrl::CReportListCtrl(QWidget* parent) : QWidget(parent)
{
    m_model = new CReportListModel(this);
    m_model->SetIcons(RowIcon(0), RowIcon(1));
    m_model->SetTextColor(m_textColor);
    m_proxy = new CRowFilterProxy(*m_model, this);

    m_stack = new QStackedWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);

    m_list = new CIconListView(*m_model, m_stack);
    m_list->setObjectName(QStringLiteral("reportIcons"));
    m_list->setModel(m_proxy);
    m_list->setModelColumn(0);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every item has its cell's size (see the delegate): sizing one row is
    // enough, which keeps layouts of many rows cheap.
    m_list->setUniformItemSizes(true);
    m_list->setLayoutMode(QListView::SinglePass);
    m_list->setItemDelegate(new CIconLabelDelegate(*m_model, *m_proxy, m_list));
    m_pictures = new CBoardPictures(this);
    connect(m_pictures, &CBoardPictures::Ready, this, &CReportListCtrl::OnPictureReady);

    m_tree = new QTreeView(m_stack);
    m_tree->setObjectName(QStringLiteral("reportDetails"));
    m_tree->setModel(m_proxy);
    m_tree->setSelectionModel(m_list->selectionModel());
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSortingEnabled(false);
    m_tree->setIconSize(QSize(kSmallIcon, kSmallIcon));
    QHeaderView* header = m_tree->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    // Shown by ShowSortIndicator once the rows are sorted; sorting stays ours.
    header->setSortIndicatorShown(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(header, &QHeaderView::sectionClicked, this, &CReportListCtrl::HeaderClicked);
    connect(SelectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!m_holdCurrent)
            emit CurrentRowChanged(current.isValid() ? m_proxy->mapToSource(current).row() : -1);
    });
    // A reset (a Find term, New, another collection) forgets the current
    // item without a word, and removed rows may take it along: whoever
    // follows the current row is told again after each, once the model has
    // finished (rows are removed in runs, and a listener reads rows).
    connect(m_proxy, &QAbstractItemModel::modelReset, this, &CReportListCtrl::TellCurrentRowLater);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, &CReportListCtrl::TellCurrentRowLater);
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, &CReportListCtrl::TellCurrentRowLater);

    m_stack->addWidget(m_list);
    m_stack->addWidget(m_tree);
    ApplyStyle();
}

QItemSelectionModel* CReportListCtrl::SelectionModel() const
{
    return m_list->selectionModel();
}

int CReportListCtrl::CurrentRow() const
{
    const QModelIndex current = SelectionModel()->currentIndex();
    return current.isValid() ? m_proxy->mapToSource(current).row() : -1;
}

QAbstractItemView* CReportListCtrl::CurrentView() const
{
    if (GetViewStyle() == kStyleDetails)
        return m_tree;
    return m_list;
}

int CReportListCtrl::InsertItem(CReportRow row, const CGameEntry* entry)
{
    const int at = m_model->Count();
    m_model->Append(std::move(row), entry);
    return at;
}

void CReportListCtrl::SetItemText(int row, int column, std::string text)
{
    m_model->SetText(row, column, std::move(text));
}

void CReportListCtrl::SetItemCells(int row, std::vector<std::string> cells, const CGameEntry* entry, bool numbered)
{
    m_model->ReplaceCells(row, std::move(cells), entry, numbered);
}

std::string CReportListCtrl::GetItemText(int row, int column)
{
    return m_model->Text(row, column);
}

void CReportListCtrl::SetItemImage(int row, int image)
{
    m_model->SetImage(row, image);
}

int CReportListCtrl::GetItemImage(int row)
{
    if (row < 0 || row >= GetItemCount())
        return 0;
    return m_model->Row(row).image;
}

std::string CReportListCtrl::GetItemKey(int row)
{
    if (row < 0 || row >= GetItemCount())
        return {};
    return m_model->Row(row).key;
}

int CReportListCtrl::FindItem(const std::string& key, std::uint32_t game)
{
    return m_model->Find(key, game);
}

std::uint32_t CReportListCtrl::GetItemGame(int row)
{
    if (row < 0 || row >= GetItemCount())
        return 0;
    return m_model->Row(row).game;
}

void CReportListCtrl::DeleteItem(int row)
{
    m_model->RemoveAt(row);
}

bool CReportListCtrl::DeleteItemByKey(const std::string& key, std::uint32_t game)
{
    return m_model->RemoveKey(key, game);
}

void CReportListCtrl::DeleteAllItems()
{
    m_model->Clear();
}

int CReportListCtrl::GetItemCount() const
{
    return m_model->Count();
}

void CReportListCtrl::SetItemCount(std::int32_t count)
{
    m_model->Reserve(count);
}

void CReportListCtrl::SetRowFilter(const CRowFilter& filter)
{
    m_model->Flush();
    if (filter == m_proxy->Filter())
        return;
    ReshowRows([&] { m_proxy->SetFilter(filter); });
}

void CReportListCtrl::ReshowRows(const std::function<void()>& change)
{
    // The proxy's reset forgets the selection and the current row: the rows
    // still shown get theirs back.
    const std::vector<int> selected = GetSelectedRows();
    const int current = m_proxy->mapToSource(SelectionModel()->currentIndex()).row();
    {
        // Told once, when the current row is back or known to be hidden.
        const QScopedValueRollback hold(m_holdCurrent, true);
        change();
        if (current >= 0) {
            const QModelIndex index = m_proxy->mapFromSource(m_model->index(current, 0));
            if (index.isValid())
                SelectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
    }
    TellCurrentRow();

    std::vector<int> shown;
    shown.reserve(selected.size());
    for (int row : selected) {
        const int at = m_proxy->mapFromSource(m_model->index(row, 0)).row();
        if (at >= 0)
            shown.push_back(at);
    }
    SelectShownRows(std::move(shown));
}

void CReportListCtrl::TellCurrentRow()
{
    if (!m_holdCurrent)
        emit CurrentRowChanged(CurrentRow());
}

void CReportListCtrl::TellCurrentRowLater()
{
    if (m_tellPending)
        return;
    m_tellPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_tellPending = false;
            TellCurrentRow();
        },
        Qt::QueuedConnection);
}

void CReportListCtrl::SelectShownRows(std::vector<int> shown)
{
    // One range per run of adjacent rows, each already as wide as the row:
    // the selection model widens ranges to rows by merging them one into
    // the other, which takes the square of their number, and Select Extra
    // Copies hands it tens of thousands of scattered rows.
    std::sort(shown.begin(), shown.end());
    shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
    const int lastColumn = std::max(0, m_proxy->columnCount() - 1);
    QItemSelection selection;
    for (std::size_t i = 0; i < shown.size();) {
        std::size_t j = i + 1;
        while (j < shown.size() && shown[j] == shown[j - 1] + 1)
            ++j;
        selection.append(QItemSelectionRange(m_proxy->index(shown[i], 0), m_proxy->index(shown[j - 1], lastColumn)));
        i = j;
    }
    if (!selection.isEmpty())
        SelectionModel()->select(selection, QItemSelectionModel::Select);
}

bool CReportListCtrl::IsFiltering() const
{
    return m_proxy->IsFiltering();
}

void CReportListCtrl::SetRowPlaces(std::unordered_map<std::string, int> places)
{
    m_model->Flush();
    ClearSelection();
    m_proxy->SetPlaces(std::move(places));
}

void CReportListCtrl::SetRowMatches(std::shared_ptr<const std::unordered_map<std::string, int>> matches)
{
    m_model->Flush();
    ReshowRows([&] { m_proxy->SetMatches(std::move(matches)); });
}

int CReportListCtrl::GetShownCount()
{
    // Counted without a flush when every row is shown: the count panes ask at
    // each idle step while files are read, and a flush there would make the
    // views lay out all their rows again each time.
    if (!m_proxy->IsFiltering())
        return m_model->Count();
    m_model->Flush();
    return m_proxy->rowCount();
}

int CReportListCtrl::ShownRow(int shown)
{
    m_model->Flush();
    return m_proxy->mapToSource(m_proxy->index(shown, 0)).row();
}

std::vector<int> CReportListCtrl::GetSelectedRows()
{
    m_model->Flush();
    std::vector<int> rows;
    // The selection holds shown rows only; the list's row numbers are the model's.
    const bool filtering = m_proxy->IsFiltering();
    for (const QItemSelectionRange& range : SelectionModel()->selection()) {
        if (range.left() > 0)
            continue;
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(filtering ? m_proxy->mapToSource(m_proxy->index(r, 0)).row() : r);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CReportListCtrl::GetSelectedCount() const
{
    // Counted from the ranges, so the idle-time count costs nothing per row.
    int count = 0;
    for (const QItemSelectionRange& range : SelectionModel()->selection()) {
        if (range.left() == 0)
            count += range.height();
    }
    return count;
}

void CReportListCtrl::SelectRow(int row, bool select)
{
    m_model->Flush();
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
    if (!index.isValid())
        return;
    SelectionModel()->select(index, (select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                        QItemSelectionModel::Rows);
}

void CReportListCtrl::SelectRows(const std::vector<int>& rows)
{
    m_model->Flush();
    std::vector<int> shown;
    shown.reserve(rows.size());
    for (int row : rows) {
        const int at = m_proxy->mapFromSource(m_model->index(row, 0)).row();
        if (at >= 0)
            shown.push_back(at);
    }
    SelectShownRows(std::move(shown));
}

void CReportListCtrl::ClearSelection()
{
    SelectionModel()->clearSelection();
}

void CReportListCtrl::SetStyle(int style)
{
    if (style == m_style)
        return;
    m_style = style;
    ApplyStyle();
}

void CReportListCtrl::ApplyStyle()
{
    const int code = GetViewStyle();
    const bool autoArrange = (m_style & kAutoArrange) != 0;
    if (code == kStyleDetails) {
        m_stack->setCurrentWidget(m_tree);
        return;
    }
    auto* delegate = static_cast<CIconLabelDelegate*>(m_list->itemDelegate());
    m_list->setUpdatesEnabled(false);
    if (code == kStyleList) {
        m_list->setViewMode(QListView::ListMode);
        m_list->setFlow(QListView::TopToBottom);
        m_list->setMovement(QListView::Static);
        m_list->setResizeMode(QListView::Adjust);
        m_list->setIconSize(QSize(kSmallIcon, kSmallIcon));
        m_list->setWordWrap(false);
        delegate->m_labelsRight = false;
    } else {
        m_list->setViewMode(QListView::IconMode);
        m_list->setFlow(QListView::LeftToRight);
        // Auto arrange keeps the icons on the grid; without it they may be
        // moved freely and stay where they were put.
        m_list->setMovement(autoArrange ? QListView::Snap : QListView::Free);
        m_list->setResizeMode(autoArrange ? QListView::Adjust : QListView::Fixed);
        const bool large = code == kStyleLargeIcons;
        const int icon = !large ? kSmallIcon : m_boardPictures ? kBoardIcon : kLargeIcon;
        m_list->setIconSize(QSize(icon, icon));
        m_list->setWordWrap(large);
        delegate->m_labelsRight = !large;
    }
    // Icons are moved by the view's own drag, never by Qt's drag and drop.
    m_list->setDragEnabled(false);
    static_cast<CIconListView*>(m_list)->m_placeSlot = PlaceSlot();
    m_list->setWrapping(true);
    UpdateGrid();
    ApplyBoardPictures();
    m_list->setUpdatesEnabled(true);
    m_stack->setCurrentWidget(m_list);
}

void CReportListCtrl::SetBoardPictures(bool on)
{
    if (on == m_boardPictures)
        return;
    m_boardPictures = on;
    // The large icons grow to show a board, and lay out again.
    if (GetViewStyle() == kStyleLargeIcons)
        ApplyStyle();
    else
        ApplyBoardPictures();
}

void CReportListCtrl::ApplyBoardPictures()
{
    auto* delegate = static_cast<CIconLabelDelegate*>(m_list->itemDelegate());
    delegate->m_pictures = m_boardPictures && GetViewStyle() == kStyleLargeIcons ? m_pictures : nullptr;
}

void CReportListCtrl::OnPictureReady(int row, const std::string& path, std::uint32_t game)
{
    if (GetViewStyle() != kStyleLargeIcons || !m_boardPictures)
        return;
    // The row may have moved (a sort, a removal) since it was asked for:
    // then whatever is in view is drawn again.
    if (row >= 0 && row < m_model->rowCount()) {
        const CReportRow& shown = m_model->PublishedRow(row);
        const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
        if (shown.key == path && shown.game == game) {
            if (index.isValid())
                m_list->update(index);
            return;
        }
    }
    m_list->viewport()->update();
}

void CReportListCtrl::UpdateGrid()
{
    const QFontMetrics metrics(font());
    const int line = metrics.lineSpacing();
    auto* delegate = static_cast<CIconLabelDelegate*>(m_list->itemDelegate());
    switch (GetViewStyle()) {
    case kStyleLargeIcons:
        m_list->setSpacing(0);
        m_list->setGridSize(
            QSize(std::max(m_list->iconSize().width() + 12, std::max(76, metrics.averageCharWidth() * 13)),
                  m_list->iconSize().height() + 2 * line + 10));
        break;
    case kStyleSmallIcons:
    case kStyleList:
        m_list->setSpacing(0);
        m_list->setGridSize(QSize(std::max(120, metrics.averageCharWidth() * 22), std::max(line, kSmallIcon) + 4));
        break;
    default:
        return;
    }
    // A little narrower than the cell, so neighbouring labels do not touch.
    delegate->m_cellSize = m_list->gridSize() - QSize(4, 2);
}

void CReportListCtrl::SortItems(CSortState& sort, std::size_t columnCount)
{
    m_model->Sort(sort, columnCount);
    ShowSortIndicator(sort);
}

void CReportListCtrl::ShowSortIndicator(const CSortState& sort)
{
    QHeaderView* header = m_tree->header();
    const int column = sort.m_nColSortCur;
    if (column < 0 || column >= m_model->columnCount()) {
        header->setSortIndicatorShown(false);
        return;
    }
    header->setSortIndicator(column, sort.IsAscending(column) ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
}

int CReportListCtrl::PlaceSlot() const
{
    if (m_style & kAutoArrange)
        return -1;
    switch (GetViewStyle()) {
    case kStyleLargeIcons:
        return 0;
    case kStyleSmallIcons:
        return 1;
    default:
        return -1;
    }
}

void CReportListCtrl::SetItemPosition(int row, const QPoint& position)
{
    m_model->Flush();
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
    const int slot = PlaceSlot();
    if (!index.isValid() || slot < 0)
        return;
    m_model->SetIconPlace(row, slot, position.x(), position.y());
    static_cast<CIconListView*>(m_list)->setPositionForIndex(position, index);
    m_list->viewport()->update();
}

QPoint CReportListCtrl::GetItemPosition(int row)
{
    m_model->Flush();
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
    if (!index.isValid())
        return {};
    return m_list->visualRect(index).topLeft() + GetViewOrigin();
}

QRect CReportListCtrl::GetItemRect(int row)
{
    m_model->Flush();
    // The view knows only the filter's indexes; one of the model's own gives
    // an empty rectangle.
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
    return index.isValid() ? m_list->visualRect(index) : QRect();
}

QPoint CReportListCtrl::GetViewOrigin() const
{
    return QPoint(m_list->horizontalScrollBar()->value(), m_list->verticalScrollBar()->value());
}

void CReportListCtrl::Arrange()
{
    // Lining up puts every icon back on the grid, hand-placed ones too.
    const int slot = PlaceSlot();
    if (slot >= 0)
        m_model->ClearIconPlaces(slot);
    m_list->doItemsLayout();
    m_list->viewport()->update();
}

void CReportListCtrl::SetColumns(const std::vector<CListColumn>& columns)
{
    std::vector<std::string> headers;
    headers.reserve(columns.size());
    for (const CListColumn& column : columns)
        headers.push_back(column.header);
    m_model->SetHeaders(headers);
    for (std::size_t i = 0; i < columns.size(); ++i)
        SetColumnWidth(static_cast<int>(i), columns[i].width);
}

int CReportListCtrl::GetColumnCount() const
{
    return m_model->columnCount();
}

int CReportListCtrl::GetColumnWidth(int column) const
{
    return m_tree->header()->sectionSize(column);
}

void CReportListCtrl::SetColumnWidth(int column, int width)
{
    m_tree->header()->resizeSection(column, std::max(width, 0));
}

void CReportListCtrl::SetTextColor(const QColor& color)
{
    m_textColor = color;
    m_model->SetTextColor(color);
}

void CReportListCtrl::SetListFont(const QFont& newFont)
{
    setFont(newFont);
    UpdateGrid();
}

void CReportListCtrl::SetRedraw(bool redraw)
{
    setUpdatesEnabled(redraw);
}
