#include "desktop/preview/BoardView.h"

#include "desktop/preview/BoardPainter.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

CBoardView::CBoardView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("previewBoard"));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_copy = new QAction(QStringLiteral("&Copy Diagram"), this);
    m_copy->setObjectName(QStringLiteral("previewCopyDiagram"));
    m_save = new QAction(QStringLiteral("&Save Diagram As..."), this);
    m_save->setObjectName(QStringLiteral("previewSaveDiagram"));
}

void CBoardView::SetPosition(const SGamePosition* position, const QString& note)
{
    m_position = position;
    m_note = note;
    m_copy->setEnabled(position != nullptr);
    m_save->setEnabled(position != nullptr);
    update();
}

void CBoardView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (m_position != nullptr) {
        PaintBoard(painter, QRectF(rect()).adjusted(2, 2, -2, -2), *m_position);
        return;
    }
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_note);
}

void CBoardView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(m_copy);
    menu.addAction(m_save);
    menu.exec(event->globalPos());
}
