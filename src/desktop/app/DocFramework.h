#pragma once

#include "desktop/app/CommandRouter.h"
#include "desktop/app/DocFrame.h"
#include "files/FileStatus.h"

#include <QString>

#include <optional>

class CDesktopDocHost;
class CRecentFileList;
class CVarnexDoc;
class IPrompts;

// The document side of the framework: one collection document with its path
// and title, the New, Open, Save and Save As flows with the unsaved-changes
// question, the close query and the frame caption. In command routing it is
// the document: Save, Save As, and the Edit commands that add files or
// folders, refresh, and remove the missing files.
class CDocFramework : public CTableCommandTarget<CDocFramework>
{
public:
    CDocFramework(CVarnexDoc& doc, CDesktopDocHost& host, IPrompts& prompts, CRecentFileList& recent);

    // The frame that shows the document; its caption follows the title.
    void SetFrame(IDocFrame* frame);

    bool OnFileNew();
    // The Open command: the question, then the dialog, then the file.
    bool OnFileOpen();
    // Opens path, after the unsaved-changes question unless the caller asked
    // it. A file that cannot be opened leaves the open collection as it was;
    // the reason is shown in a message box, or, with failure given, handed
    // there for the caller to report together with others.
    bool OpenDocumentFile(const QString& path, bool askSaveChanges = true, QString* failure = nullptr);
    // Edit > Refresh: the game files that changed are read again; Refresh
    // All (everyFile) reads every one, whatever the header cache holds.
    void OnRefresh(bool everyFile = false);
    bool OnFileSave();
    bool OnFileSaveAs();

    // Asks whether to save a modified collection; false when the user cancels
    // or the save fails.
    bool SaveModified();
    // Never while a game file is being read; otherwise the question.
    bool CanCloseFrame();

    QString PathName() const { return m_path; }
    QString Title() const;
    QString Caption() const;

    static const QString kOpenFilter;
    static const QString kSaveFilter;

private:
    // Save, Save As, and the Edit commands that add, refresh or drop files.
    std::span<const SCommand<CDocFramework>> Commands() const override;
    bool OpenFile(const QString& path, QString* failure = nullptr);
    void ReportOpenFailure(const QString& text, QString* failure);
    bool DoSave(const QString& path);
    // False when the file changed on disk since m_stamp and the user does
    // not want it overwritten.
    bool MayOverwrite(const QString& path);
    void SetPathName(const QString& path);
    void UpdateCaption();

    CVarnexDoc& m_doc;
    CDesktopDocHost& m_host;
    IPrompts& m_prompts;
    CRecentFileList& m_recent;
    QWidget* DialogParent() const;

    IDocFrame* m_frame = nullptr;
    QString m_path;
    // The file as it was when it was read or last saved here: Save asks
    // before it overwrites what another program wrote since.
    std::optional<SFileStatus> m_stamp; // none when there was no file
};
