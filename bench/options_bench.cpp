// The options sheet on a large collection, offscreen: with every row in the
// details list, OK after showing one more column, until its cells are shown.
// Nothing is read from the game files again. Prints figures; never fails.
#include "ToolArgs.h"
#include "ViewBenchSupport.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/Prompts.h"
#include "desktop/dialogs/OptionsSheet.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

class CNoPumpHost : public IDocHost
{
public:
    void BeforeRead() override {}
};

// Answers the sheet by showing "White" and pressing OK; the clock starts at OK.
class CSheetPrompts : public CBenchPrompts
{
public:
    void MessageBox(QWidget*, const QString& text, EIcon) override
    {
        std::printf("message: %s\n", text.toUtf8().constData());
    }
    int ExecDialog(QDialog& dialog) override
    {
        auto* available = dialog.findChild<QListWidget*>(QStringLiteral("availableList"));
        auto* show = dialog.findChild<QPushButton*>(QStringLiteral("showButton"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
        if (!available || !show || !ok)
            return QDialog::Rejected;
        available->setCurrentRow(4); // "White:PW"
        show->click();
        timer.start();
        ok->click();
        return dialog.result();
    }

    QElapsedTimer timer;
};

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // After QApplication, which takes the Qt options out of argv.
    if (const auto status = CheckToolArgs(argc, argv, "usage: options_bench [COUNT] [GAMES_FOLDER]\n"))
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

    CMemorySettingsStore store;
    store.WriteProfileString("Header", "Index", "0|1|2");
    CSheetPrompts prompts;
    CNoPumpHost host;
    CVarnexDoc doc(host);
    CVarnexView view(doc, store, prompts);
    view.Create();
    doc.AddView(&view);
    view.resize(1000, 700);
    view.show();
    view.OnCommand(ID_VIEW_DETAILS);
    for (const std::string& path : files)
        doc.AddGameFile(path, 0);
    doc.UpdateAllViews(hintBatchDone);
    Settle(view);

    view.OnCommand(ID_VIEW_OPTIONS);
    const bool ran = prompts.timer.isValid();
    const long long refilled = ran ? static_cast<long long>(prompts.timer.elapsed()) : -1;
    Settle(view);
    const long long shown = ran ? static_cast<long long>(prompts.timer.elapsed()) : -1;
    std::printf("options OK after adding a column with %d rows: %lld ms until the new cells are shown "
                "(%lld ms of it rebuilding columns and rows; %zu columns)\n",
                view.RowCount(), shown, refilled, view.Columns().size() + 1);
    doc.RemoveView(&view);
    view.Destroy();
    return 0;
}
