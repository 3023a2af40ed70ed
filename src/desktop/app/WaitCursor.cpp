#include "desktop/app/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

CWaitCursor::CWaitCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

CWaitCursor::~CWaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
