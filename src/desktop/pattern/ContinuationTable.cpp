#include "desktop/pattern/ContinuationTable.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Roles of the wins cell: the games either side won, beside the games.
constexpr int kBlackWinsRole = Qt::UserRole + 1;
constexpr int kWhiteWinsRole = Qt::UserRole + 2;
constexpr int kGamesRole = Qt::UserRole + 3;

// Black's wins from the left in black, White's from the right in white,
// games without a winner the gap between; the per cents written over it.
class CWinsBarDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const double games = index.data(kGamesRole).toDouble();
        if (games <= 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QRectF bar = QRectF(option.rect).adjusted(2, 3, -2, -3);
        const double black = index.data(kBlackWinsRole).toDouble() / games;
        const double white = index.data(kWhiteWinsRole).toDouble() / games;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->fillRect(bar, QColor(200, 200, 200));
        painter->fillRect(QRectF(bar.left(), bar.top(), bar.width() * black, bar.height()), QColor(30, 30, 30));
        painter->fillRect(QRectF(bar.right() - bar.width() * white, bar.top(), bar.width() * white, bar.height()),
                          QColor(250, 250, 250));
        painter->setPen(QColor(120, 120, 120));
        painter->drawRect(bar);
        // Written on a band of its own so it reads on both colours.
        const QString text = index.data(Qt::DisplayRole).toString();
        QFont font = option.font;
        painter->setFont(font);
        const QRectF label = painter->fontMetrics().boundingRect(text).toRectF();
        QRectF band(QPointF(0, 0), label.size() + QSizeF(6, 0));
        band.moveCenter(bar.center());
        painter->fillRect(band, QColor(255, 255, 255, 200));
        painter->setPen(QColor(0, 0, 0));
        painter->drawText(band, Qt::AlignCenter, text);
        painter->restore();
    }
};

} // namespace

QString ContinuationLetter(std::size_t index)
{
    if (index < 26)
        return QString(QChar(static_cast<char16_t>(u'A' + index)));
    if (index < 52)
        return QString(QChar(static_cast<char16_t>(u'a' + index - 26)));
    return {};
}

QString PercentText(std::uint32_t part, std::uint32_t whole)
{
    if (whole == 0)
        return QStringLiteral("-");
    return QStringLiteral("%1 %").arg(100.0 * part / whole, 0, 'f', 1);
}

CContinuationTable::CContinuationTable(QWidget* parent) : QTableWidget(0, kColumnCount, parent)
{
    setObjectName(QStringLiteral("patternContinuations"));
    setHorizontalHeaderLabels({QStringLiteral("Move"), QStringLiteral("Colour"), QStringLiteral("Games"),
                               QStringLiteral("Share"), QStringLiteral("Black / White wins")});
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(kWins, QHeaderView::Stretch);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegateForColumn(kWins, new CWinsBarDelegate(this));
    setFocusPolicy(Qt::ClickFocus);
    // Room for the header and five continuations.
    setMinimumHeight(verticalHeader()->defaultSectionSize() * 5 + horizontalHeader()->sizeHint().height() + 4);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit RowChosen(row); });
}

void CContinuationTable::SetRows(std::vector<SContinuationRow> rows, std::size_t matched)
{
    m_rows = std::move(rows);
    clearContents();
    setRowCount(static_cast<int>(m_rows.size()));
    const auto whole = static_cast<std::uint32_t>(matched);
    for (int i = 0; i < rowCount(); ++i) {
        const SContinuationRow& row = m_rows[static_cast<std::size_t>(i)];
        const auto cell = [&](int column, const QString& text, Qt::Alignment align) {
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(align | Qt::AlignVCenter);
            setItem(i, column, item);
            return item;
        };
        cell(kLetter, row.letter, Qt::AlignCenter);
        cell(kColour, row.colour == EStone::Black ? QStringLiteral("Black") : QStringLiteral("White"), Qt::AlignLeft);
        cell(kGames, QString::number(row.games), Qt::AlignRight);
        cell(kShare, PercentText(row.games, whole), Qt::AlignRight);
        QTableWidgetItem* wins = cell(
            kWins,
            QStringLiteral("%1 / %2").arg(PercentText(row.blackWins, row.games), PercentText(row.whiteWins, row.games)),
            Qt::AlignCenter);
        wins->setData(kGamesRole, row.games);
        wins->setData(kBlackWinsRole, row.blackWins);
        wins->setData(kWhiteWinsRole, row.whiteWins);
    }
}
