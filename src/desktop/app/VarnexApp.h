#pragma once

#include "desktop/app/CommandRouter.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CDesktopDocHost;
class CDocFramework;
class CMainFrame;
class CRecentFileList;
class CSingleInstance;
class CVarnexDoc;
class IPrompts;
class QTimer;
class ISettingsStore;

// The application object: the settings store, the one document with its
// frame and view, the recent-files list, the idle work and the commands New,
// Open, the recent files and About.
class CVarnexApp : public QObject, public CTableCommandTarget<CVarnexApp>
{
    Q_OBJECT
public:
    // The current folder is saved only when shorter than this.
    static constexpr std::size_t kCurDirBuffer = 200;

    CVarnexApp(ISettingsStore& store, IPrompts& prompts, QObject* parent = nullptr);
    ~CVarnexApp() override;

    // The local socket name that makes a second start hand its file over;
    // empty (the default) starts every program on its own.
    void SetInstanceName(const QString& name) { m_instanceName = name; }
    // What a quit request that waited for a batch of files finally does.
    void SetQuitHandler(std::function<void()> quit) { m_quit = std::move(quit); }

    // arguments without the program name. True to run the event loop.
    bool InitInstance(const QStringList& arguments);
    // The exit code for the process once the loop has ended.
    int ExitInstance(int loopResult);
    // The code to end with when InitInstance answered false.
    int ExitCode() const { return m_exitCode; }

    // The idle step; count 0 is the first call of an idle period.
    bool OnIdle(long count);

    // Saves the process's current folder as "Misc" / "cur dir" when it fits.
    void SaveCurrentDirectory();
    void RestoreCurrentDirectory();

    void OnAppAbout();
    bool OpenRecentFile(int index);

    ISettingsStore& Store() const { return m_store; }
    IPrompts& Prompts() const { return m_prompts; }
    CVarnexDoc& Doc() const { return *m_doc; }
    CDesktopDocHost& Host() const { return *m_host; }
    CCommandRouter& Router() const { return *m_router; }
    CRecentFileList& RecentFiles() const { return *m_recent; }
    CDocFramework& Framework() const { return *m_framework; }
    CMainFrame* Frame() const { return m_frame.get(); }

private:
    // New, Open, About and the recent files.
    std::span<const SCommand<CVarnexApp>> Commands() const override;
    bool CreateFrame();
    void OnAboutToBlock();
    void OpenHandedFile(const QString& path);
    void RunPendingOpens();
    void ReportHandedFailures();

    ISettingsStore& m_store;
    IPrompts& m_prompts;
    std::unique_ptr<CDesktopDocHost> m_host;
    std::unique_ptr<CVarnexDoc> m_doc;
    std::unique_ptr<CCommandRouter> m_router;
    std::unique_ptr<CRecentFileList> m_recent;
    std::unique_ptr<CDocFramework> m_framework;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CSingleInstance> m_instance;
    QString m_instanceName;
    // Files handed over by later starts, opened one at a time.
    QStringList m_pendingOpens;
    QStringList m_handedFailures;
    QTimer* m_openTimer = nullptr;
    bool m_openingHanded = false;
    std::function<void()> m_quit;
    int m_exitCode = 0;
    bool m_inIdle = false;
};
