// The item drag of the icon styles: only the dragged row's icon moves, by the
// pointer's movement; nothing in the collection changes.
#include "desktop/view/VarnexView.h"

#include "desktop/view/ReportListCtrl.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>

#include <algorithm>

namespace {

bool IsIconStyle(int code)
{
    return code == CReportListCtrl::kStyleLargeIcons || code == CReportListCtrl::kStyleSmallIcons;
}

} // namespace

bool CVarnexView::FilterDragMouse(QEvent* event)
{
    QListView* list = m_pList->IconView();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_nPressRow = -1;
        if (mouse->button() == Qt::LeftButton && IsIconStyle(m_pList->GetViewStyle())) {
            const QModelIndex index = list->indexAt(mouse->position().toPoint());
            if (index.isValid()) {
                // The view shows the filter's rows; the list's row numbers are all rows'.
                m_nPressRow = m_pList->IsFiltering() ? m_pList->ShownRow(index.row()) : index.row();
                m_ptPress = mouse->position().toPoint();
            }
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        if (!m_bDragging && m_nPressRow >= 0 && (mouse->buttons() & Qt::LeftButton) &&
            (point - m_ptPress).manhattanLength() >= QApplication::startDragDistance())
            OnBeginDrag(m_nPressRow, m_ptPress);
        if (!m_bDragging)
            return false;
        OnDragMouseMove(point);
        // The list's own handling would drag a selection rectangle.
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_nPressRow = -1;
        if (!m_bDragging)
            return false;
        OnDragButtonUp(mouse->position().toPoint());
        // The list's own handling of a release on a selected row would
        // select that row alone; a drag leaves the selection as it was.
        return true;
    }
    default:
        return false;
    }
}

void CVarnexView::OnBeginDrag(int row, const QPoint& point)
{
    if (!IsIconStyle(m_pList->GetViewStyle()))
        return;
    QListView* list = m_pList->IconView();
    // The row's picture as the list shows it, icon and label.
    const QRect rect = m_pList->GetItemRect(row);
    if (rect.isEmpty())
        return;
    m_bDragging = true;
    m_nDragItem = row;
    const QPoint position = m_pList->GetItemPosition(row);
    m_ptOrigin = m_pList->GetViewOrigin();

    const QPoint topLeft = rect.topLeft();
    if (!m_pDragImage) {
        m_pDragImage = new QLabel(list->viewport());
        m_pDragImage->setObjectName(QStringLiteral("dragImage"));
        m_pDragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_pDragImage->setPixmap(list->viewport()->grab(rect));
    m_pDragImage->resize(rect.size());

    m_ptHotSpot = point - topLeft;
    m_ptDragOffset = point - position + m_ptOrigin;

    m_pDragImage->move(point - m_ptHotSpot);
    m_pDragImage->show();
    m_pDragImage->raise();
    list->viewport()->grabMouse();
}

void CVarnexView::OnDragMouseMove(const QPoint& point)
{
    if (m_bDragging && m_pDragImage)
        m_pDragImage->move(point - m_ptHotSpot);
}

void CVarnexView::OnDragButtonUp(const QPoint& point)
{
    if (!m_bDragging)
        return;
    m_bDragging = false;
    if (m_pDragImage) {
        m_pDragImage->hide();
        m_pDragImage->setPixmap(QPixmap());
    }
    // The item area begins at 0, 0: an icon dropped past the top or left
    // edge would sit where no scrolling reaches it.
    const QPoint dropped = point - m_ptDragOffset + m_ptOrigin;
    m_pList->SetItemPosition(m_nDragItem, QPoint(std::max(0, dropped.x()), std::max(0, dropped.y())));
    m_pList->IconView()->viewport()->releaseMouse();
}
