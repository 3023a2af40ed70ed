// The Players dock on a large collection: shown on it, filling it from the
// document's hints (every game counted in, the rows listed, sorted and
// painted), one player's record, and a file read again once the dock is full. Prints
// figures; never fails.
#include "ToolArgs.h"
#include "ViewBenchSupport.h"

#include "collection/VarnexDoc.h"
#include "desktop/players/PlayerRecordPane.h"
#include "desktop/players/PlayersModel.h"
#include "desktop/players/PlayersPane.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

// Processor time of the process: the machine may be shared with other
// work, which swings the elapsed times far more.
double CpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void Paint(QWidget& widget)
{
    QCoreApplication::processEvents();
    widget.repaint();
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (const auto status = CheckToolArgs(argc, argv, "usage: players_bench [COUNT] [GAMES_FOLDER]\n"))
        return *status;
    const int count = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 100000;

    QTemporaryDir temp;
    std::vector<std::string> files;
    const QString given = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (!given.isEmpty())
        files = GameFiles(given, count);
    if (static_cast<int>(files.size()) < count) {
        std::printf("writing %d game files...\n", count);
        files = WriteGameFiles(temp.path(), count);
    }

    CPumpHost host;
    CVarnexDoc doc(host);
    for (const std::string& path : files)
        doc.AddGameFile(path, 0);
    std::size_t games = 0;
    doc.m_mapFiles.ForEach([&](const std::string&, const CGameEntry& entry) { games += entry.GameCount(); });

    CMemorySettingsStore store;
    CBenchPrompts prompts;
    CPlayersPane pane(doc, store, prompts);
    pane.resize(420, 800);
    pane.show();
    Paint(pane);

    // The dock first shown on an open collection: every game counted, the
    // rows listed, sorted and painted.
    double cpuBefore = CpuMs();
    QElapsedTimer timer;
    timer.start();
    pane.SetShowing(true);
    Paint(*pane.PlayersView());
    std::printf("Players dock first shown on %zu games: %lld ms, %.0f ms processor\n", games,
                static_cast<long long>(timer.elapsed()), CpuMs() - cpuBefore);

    // The dock fills as it does while a collection opens: one hint a file,
    // then the end of the batch lists the rows; timed until they are painted.
    pane.OnUpdate(hintFileRemoved, {});
    Paint(pane);
    cpuBefore = CpuMs();
    timer.restart();
    for (const std::string& path : files)
        pane.OnUpdate(hintFileAdded, CHintPayload{&path});
    const qint64 countedMs = timer.elapsed();
    const double countedCpuMs = CpuMs() - cpuBefore;
    pane.OnUpdate(hintBatchDone, {});
    Paint(*pane.PlayersView());
    const qint64 filledMs = timer.elapsed();
    const double filledCpuMs = CpuMs() - cpuBefore;
    std::printf(
        "Players dock filled hint by hint from %zu games: %lld ms, %.0f ms processor (counting %lld ms, %.0f ms "
        "processor; %d players listed, sorted and painted %lld ms)\n",
        games, static_cast<long long>(filledMs), filledCpuMs, static_cast<long long>(countedMs), countedCpuMs,
        pane.Model().rowCount(), static_cast<long long>(filledMs - countedMs));

    // The records of the players with the most games, as a double-click
    // shows them: the counts gathered, the chart and opponents painted.
    const QSortFilterProxyModel& sorted = pane.Sorted();
    const int players = std::min(20, sorted.rowCount());
    qint64 worst = 0;
    qint64 sum = 0;
    const double recordsCpuBefore = CpuMs();
    for (int row = 0; row < players; ++row) {
        const std::string key = sorted.index(row, 0).data(CPlayersModel::kKeyRole).toString().toStdString();
        timer.restart();
        pane.ShowPlayer(key);
        Paint(*pane.Record());
        const qint64 ms = timer.elapsed();
        worst = std::max(worst, ms);
        sum += ms;
    }
    if (players > 0)
        std::printf("a player's record (the %d with most games, %d games the first): %lld ms on average, %lld ms "
                    "at worst, %.0f ms processor on average\n",
                    players, sorted.index(0, CPlayersModel::kGames).data(CPlayersModel::kSortRole).toInt(),
                    static_cast<long long>(sum / players), static_cast<long long>(worst),
                    (CpuMs() - recordsCpuBefore) / players);

    // One file read again in a full dock: its games counted out and in, the
    // rows and the record shown listed anew.
    if (!files.empty()) {
        timer.restart();
        pane.OnUpdate(hintFileChanged, CHintPayload{&files.front()});
        pane.OnUpdate(hintBatchDone, {});
        Paint(pane);
        std::printf("one file read again with the dock full: %lld ms\n", static_cast<long long>(timer.elapsed()));
    }
    return 0;
}
