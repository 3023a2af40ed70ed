#include "desktop/app/VarnexApp.h"

#include "pattern/PositionRow.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/DocFramework.h"
#include "desktop/app/Prompts.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/app/SingleInstance.h"
#include "desktop/frame/AboutDlg.h"
#include "desktop/frame/MainFrame.h"
#include "qtcore/ResText.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {
// The collection named on the command line: the first argument that is not
// an option, or the one after "--".
QString FileArgument(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--"))
            return i + 1 < arguments.size() ? arguments[i + 1] : QString();
        if (!argument.isEmpty() && !argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return {};
}

// Files handed over while files are being read, or while a dialog is up,
// wait for the end of it.
constexpr int kRetryMs = 200;
// The failures of several handed files are one message naming the first few.
constexpr qsizetype kListedFailures = 5;
} // namespace

CVarnexApp::CVarnexApp(ISettingsStore& store, IPrompts& prompts, QObject* parent)
    : QObject(parent), m_store(store), m_prompts(prompts), m_host(std::make_unique<CDesktopDocHost>(prompts)),
      m_doc(std::make_unique<CVarnexDoc>(*m_host)), m_router(std::make_unique<CCommandRouter>()),
      m_recent(std::make_unique<CRecentFileList>(store)),
      m_framework(std::make_unique<CDocFramework>(*m_doc, *m_host, prompts, *m_recent))
{
    m_host->SetIdleWork([this] { OnIdle(0); });
    // Position rows are made while game files are read anyway, for the
    // position search.
    m_doc->SetPositionRowBuilder(BuildPositionRow);
    m_openTimer = new QTimer(this);
    m_openTimer->setSingleShot(true);
    connect(m_openTimer, &QTimer::timeout, this, &CVarnexApp::RunPendingOpens);
}

CVarnexApp::~CVarnexApp()
{
    m_router->RemoveTarget(this);
    m_frame.reset();
    m_doc->RemoveView(m_host.get());
}

bool CVarnexApp::InitInstance(const QStringList& arguments)
{
    // Drag and drop and the dialogs need the GUI application.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        m_prompts.MessageBox(nullptr, ResText(IDS_OLE_INIT_FAILED), IPrompts::EIcon::Stop);
        m_exitCode = 1;
        return false;
    }

    m_recent->Load();

    // A relative name is taken against the folder the program was started
    // in, before the stored current folder comes back.
    const QString argument = FileArgument(arguments);
    const QString file = argument.isEmpty() ? QString() : QFileInfo(argument).absoluteFilePath();

    if (!m_instanceName.isEmpty()) {
        m_instance = std::make_unique<CSingleInstance>(m_instanceName);
        if (!file.isEmpty() && m_instance->HandOffPatiently(file)) {
            m_exitCode = 0;
            return false;
        }
        // A window that runs but took nothing in all that time keeps its
        // channel; this start opens the file in a window of its own.
        if (!file.isEmpty() && m_instance->AnotherIsRunning())
            std::fprintf(stderr, "varnex: the running window did not take %s; opening it in a new window\n",
                         QFile::encodeName(file).constData());
        m_instance->Listen([this](const QString& path) { OpenHandedFile(path); });
    }

    if (!CreateFrame()) {
        m_exitCode = 1;
        return false;
    }

    if (!file.isEmpty()) {
        // The window comes up before the collection is read, so a large one
        // shows its progress and can be watched from the first file.
        m_frame->ActivateFrame();
        if (!m_framework->OpenDocumentFile(file)) {
            m_exitCode = 1;
            return false;
        }
    } else {
        m_framework->OnFileNew();
        if (!m_recent->IsEmpty() && !m_recent->At(0).isEmpty())
            OpenRecentFile(0);
    }

    RestoreCurrentDirectory();

    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CVarnexApp::OnAboutToBlock);
    return true;
}

int CVarnexApp::ExitInstance(int loopResult)
{
    SaveCurrentDirectory();
    m_recent->Save();
    return loopResult;
}

bool CVarnexApp::CreateFrame()
{
    m_frame = std::make_unique<CMainFrame>(*m_doc, *m_framework, *m_host, *m_router, *m_recent, m_store, m_prompts);
    if (!m_frame->Create()) {
        m_frame.reset();
        return false;
    }
    m_router->AddTarget(this);
    m_doc->AddView(m_host.get());
    // The actions were made before their targets were known.
    m_router->UpdateAll();
    return true;
}

void CVarnexApp::SaveCurrentDirectory()
{
    std::error_code error;
    const std::string current = std::filesystem::current_path(error).string();
    if (error)
        return;
    // The folder went into a 200-byte buffer with its terminator.
    if (current.size() >= 1 && current.size() < kCurDirBuffer)
        WriteString(m_store, settings::kCurDir, current);
}

void CVarnexApp::RestoreCurrentDirectory()
{
    const std::string stored = ReadString(m_store, settings::kCurDir);
    if (stored.empty())
        return;
    std::error_code error;
    std::filesystem::current_path(stored, error);
}

bool CVarnexApp::OnIdle(long count)
{
    if (count != 0)
        return false;
    m_doc->OnIdle();
    m_router->UpdateAll();
    if (!m_doc->IsBusy() && m_host->TakePendingQuit()) {
        QTimer::singleShot(0, this, [this] {
            if (m_quit)
                m_quit();
            else
                QCoreApplication::quit();
        });
    }
    return false;
}

void CVarnexApp::OnAboutToBlock()
{
    if (m_inIdle)
        return;
    m_inIdle = true;
    OnIdle(0);
    m_inIdle = false;
}

void CVarnexApp::OpenHandedFile(const QString& path)
{
    m_pendingOpens << path;
    if (!m_openTimer->isActive())
        m_openTimer->start(0);
}

void CVarnexApp::RunPendingOpens()
{
    if (m_pendingOpens.isEmpty())
        return;
    // Opening clears the collection, which must not happen under a batch of
    // files still being read. Nor inside a dialog's own loop (one of the
    // user's, or the question or message of the open before): a flood of
    // hand-offs would stack a message box on a message box until the stack
    // runs out. A native file dialog, a context menu or a drag shows no modal
    // widget but runs a loop of its own inside the program's one.
    const bool inModalLoop = QApplication::activeModalWidget() != nullptr || QThread::currentThread()->loopLevel() > 1;
    if (m_openingHanded || m_doc->IsBusy() || inModalLoop) {
        m_openTimer->start(kRetryMs);
        return;
    }
    const QScopedValueRollback<bool> opening(m_openingHanded, true);
    const QString path = m_pendingOpens.takeFirst();
    QString failure;
    if (!m_framework->OpenDocumentFile(path, true, &failure)) {
        // Cancel in the unsaved-changes question answers for the files handed
        // with this one too.
        if (failure.isEmpty())
            m_pendingOpens.clear();
        else
            m_handedFailures << failure;
    }
    if (!m_pendingOpens.isEmpty()) {
        // One open per turn of the event loop keeps the window answering.
        m_openTimer->start(0);
        return;
    }
    ReportHandedFailures();
    if (m_frame) {
        m_frame->raise();
        m_frame->activateWindow();
    }
}

void CVarnexApp::ReportHandedFailures()
{
    if (m_handedFailures.isEmpty())
        return;
    const QStringList failures = std::exchange(m_handedFailures, {});
    QString text = failures.front();
    if (failures.size() > 1) {
        text = QStringLiteral("Cannot open %1 collections.").arg(failures.size());
        for (qsizetype i = 0; i < std::min(failures.size(), kListedFailures); ++i)
            text += QStringLiteral("\n\n") + failures[i];
        if (failures.size() > kListedFailures)
            text += QStringLiteral("\n\n... and %1 more.").arg(failures.size() - kListedFailures);
    }
    m_prompts.MessageBox(m_frame.get(), text, IPrompts::EIcon::Error);
}

void CVarnexApp::OnAppAbout()
{
    CAboutDlg dialog(m_frame.get());
    m_prompts.ExecDialog(dialog);
}

bool CVarnexApp::OpenRecentFile(int index)
{
    const QString path = m_recent->At(index);
    if (path.isEmpty())
        return false;
    if (!m_framework->SaveModified())
        return false;
    if (m_framework->OpenDocumentFile(path, false))
        return true;
    // A collection that cannot be opened any more leaves the list; one the
    // user chose not to open stays.
    m_recent->Remove(index);
    m_recent->Save();
    if (m_frame)
        m_frame->RefreshRecentFiles();
    return false;
}

std::span<const SCommand<CVarnexApp>> CVarnexApp::Commands() const
{
    using A = CVarnexApp;
    // New and Open clear the collection: not while a batch of files is read
    // into it, or the rest of the batch would land in the other collection.
    constexpr auto notBusy = [](A& a, int, CCmdUI& ui) { ui.Enable(!a.m_doc->IsBusy()); };
    constexpr auto openRecent = [](A& a, int id) { a.OpenRecentFile(id - ID_FILE_MRU_FILE1); };
    constexpr auto recentThere = [](A& a, int id, CCmdUI& ui) {
        ui.Enable(!a.m_doc->IsBusy() && id - ID_FILE_MRU_FILE1 < a.m_recent->Size());
    };
    static constexpr SCommand<A> kCommands[] = {
        {ID_FILE_NEW, [](A& a, int) { a.m_framework->OnFileNew(); }, notBusy},
        {ID_FILE_OPEN, [](A& a, int) { a.m_framework->OnFileOpen(); }, notBusy},
        {ID_APP_ABOUT, [](A& a, int) { a.OnAppAbout(); }},
        {ID_FILE_MRU_FILE1, openRecent, recentThere},
        {ID_FILE_MRU_FILE2, openRecent, recentThere},
        {ID_FILE_MRU_FILE3, openRecent, recentThere},
        {ID_FILE_MRU_FILE4, openRecent, recentThere},
    };
    return kCommands;
}
