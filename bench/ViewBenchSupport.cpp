#include "ViewBenchSupport.h"

#include "collection/VarnexDoc.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <malloc.h>

#include <fstream>

void CPumpHost::BeforeRead()
{
    QCoreApplication::processEvents();
    if (m_doc && m_idle.elapsed() >= 50) {
        m_doc->OnIdle();
        m_idle.restart();
    }
}

double HeapBytes()
{
    return static_cast<double>(mallinfo2().uordblks);
}

std::vector<std::string> GameFiles(const QString& folder, int count)
{
    std::vector<std::string> paths;
    QDirIterator it(folder, {QStringLiteral("*.sgf")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext() && static_cast<int>(paths.size()) < count) {
        const QByteArray path = QFile::encodeName(it.next());
        paths.emplace_back(path.constData(), static_cast<std::size_t>(path.size()));
    }
    return paths;
}

std::vector<std::string> WriteGameFiles(const QString& folder, int count)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const QString sub = QStringLiteral("%1/%2").arg(folder).arg(i / 1000, 3, 10, QLatin1Char('0'));
        if (i % 1000 == 0)
            QDir().mkpath(sub);
        const std::string path = QFile::encodeName(QStringLiteral("%1/game%2.sgf").arg(sub).arg(i)).toStdString();
        std::ofstream out(path, std::ios::binary);
        out << "(;GM[1]FF[4]GN[Game " << i << "]DT[" << 1990 + i % 30 << "-0" << 1 + i % 9 << "-1" << i % 10
            << "]PB[Black " << i % 977 << "]BR[" << 1 + i % 9 << "d]PW[White " << i % 613 << "]WR[" << 1 + i % 20
            << "k]RE[" << (i % 2 ? "B+R" : "W+3.5") << "];B[pd];W[dp])";
        paths.push_back(path);
    }
    return paths;
}

void Settle(CVarnexView& view)
{
    view.ListCtrl()->Model().Flush();
    QAbstractItemView* shown = view.ListCtrl()->CurrentView();
    shown->doItemsLayout();
    QCoreApplication::processEvents();
    shown->viewport()->repaint();
}
