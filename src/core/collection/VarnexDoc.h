#pragma once

#include "collection/DocHost.h"
#include "collection/PathTable.h"
#include "collection/PositionRowBuilder.h"
#include "collection/UpdateHint.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// A stored record whose game file could not be read when the collection was
// opened (an unmounted disk, a renamed folder, a permission). It gets no row,
// but it is saved again, so nothing is lost while the disk is away.
struct CUnreadEntry
{
    std::string path;
    std::uint32_t flags = 0;
    // False for a record an open that was stopped never came to: its file
    // may well be there, so it is not one of the missing files.
    bool tried = true;
};

// The collection: one entry per game file, keyed by full path. It never
// touches a view; every change goes out as an update hint to all views.
class CHeaderCache;
class CPositionRowMaker;

class CVarnexDoc
{
public:
    explicit CVarnexDoc(IDocHost& host = DefaultDocHost());
    // Stores the position rows still being made.
    ~CVarnexDoc();
    CVarnexDoc(const CVarnexDoc&) = delete;
    CVarnexDoc& operator=(const CVarnexDoc&) = delete;

    // Views get every hint, synchronously, in the order they were added. A
    // view may add or remove views (itself included) while it handles a hint;
    // a view removed meanwhile gets no further call.
    void AddView(IDocView* view);
    void RemoveView(IDocView* view);
    void UpdateAllViews(int hint, const CHintPayload& payload = {});

    // Reading a file runs the host's event pump first, so other commands
    // (even another AddGameFile or DeleteContents) can run inside this call.
    // False when the path is there already (or came meanwhile) or its file
    // cannot be read.
    bool AddGameFile(const std::string& path, std::uint32_t flags);
    bool RemoveGameFile(const std::string& path);
    bool ChangeFileFlags(const std::string& path, std::uint32_t setBits, std::uint32_t clearBits, std::int32_t tag);

    // The add-files command: asks the host for files, adds each, then hintBatchDone.
    void OnAddFiles();
    // The add-folder command: asks the host for a folder and adds every game
    // file below it as one batch.
    void OnAddFolder();

    // Adds each path as one batch, a folder by walking it (the walk lets the
    // host pump its events), and ends with hintBatchDone and the host's
    // BatchEnded. The host can stop it after any file; the files added so
    // far stay.
    SAddSummary AddBatch(const std::vector<std::string>& paths);
    // Whether any of the paths is a folder (a drop of files only is added
    // file by file, without an end-of-batch hint).
    static bool HasFolder(const std::vector<std::string>& paths);

    // Deletes the contents (before New, before Open, when closing) and tells
    // the views with hintFileRemoved and no path. The header cache goes too.
    void DeleteContents();

    // The header cache of the collection's file: files read from now on take
    // their values from it when unchanged, and leave their rows in it.
    void SetHeaderCache(std::shared_ptr<CHeaderCache> cache);
    CHeaderCache* HeaderCache() const { return m_pHeaderCache.get(); }
    // Writes the rows the cache holds back; a failure is silent.
    void FlushHeaderCache();
    // What makes a position row of each game file read from now on, stored
    // in the header cache beside its values (with no cache nothing is made).
    // It runs on a thread of its own while the files are read, so it must be
    // safe to call from there (a function of the record alone).
    void SetPositionRowBuilder(PositionRowBuilder build);
    const PositionRowBuilder& PositionRows() const { return m_buildPositions; }
    // Waits for the position rows being made and hands them to the cache
    // (FlushHeaderCache does this too).
    void FinishPositionRows();

    // Reads again the game files whose status changed since they were read,
    // and the unread records whose files can be read now, as one batch: a
    // changed file's row is made anew (hintFileChanged), a file that cannot
    // be read any more loses its row and is kept as an unread record, an
    // unread record that can be read gets its row. The records stay the
    // same, so the modified state is left as it was. Ends with hintBatchDone;
    // what to tell the user is the caller's. With everyFile, every game file
    // is read again, past the header cache, whatever its status says: the
    // remedy for a file changed without a new status.
    SAddSummary Refresh(bool everyFile = false);

    // Whether the window may close: never while a game file is being read.
    // The unsaved-changes question is the framework's.
    bool CanCloseFrame() const { return !m_bBusy; }

    // The first idle call of an idle period: sends hintIdle.
    void OnIdle();

    // Drops the unread records whose files could not be read for good (the
    // ones a stopped open never came to stay); false (and nothing changes)
    // when there are none.
    bool RemoveMissingFiles();
    bool HasMissingFiles() const;

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    // Whether game files are being read: the event pump runs then, and the
    // commands it runs must not close or replace the collection.
    bool IsBusy() const { return m_bBusy; }

    IDocHost& Host() const { return m_host; }

    CPathTable m_mapFiles;
    // In their stored order; a path here that was added later is saved once.
    std::vector<CUnreadEntry> m_unread;

    // What reading one path came to.
    enum class EReadOutcome {
        Read,       // read: fresh holds its entry, with flags 0
        Unreadable, // its file could not be read
        NotAsAsked, // not read: the path was in the table, or not, other than asked
        Overtaken,  // read, but a command run meanwhile added or removed the path
    };
    struct SReadStep
    {
        EReadOutcome outcome = EReadOutcome::NotAsAsked;
        std::unique_ptr<CGameEntry> fresh;
        // The path's entry in the table as it is after the read (for a path
        // asked to be there, unless it was overtaken).
        CGameEntry* held = nullptr;
    };

    // The one way entries are read. Reading runs the host's event pump, and
    // the commands it runs may add, remove or clear entries; so for each
    // item in turn, until the host asks to stop, the path (pathOf(item)) is
    // read only when the table holds it (held) or does not (!held), looked
    // up again after the read whenever the table changed meanwhile, and
    // step(item, result) is told what came of it, with the table as it is
    // now. The document is busy throughout. Returns how many items were
    // taken in hand: fewer than all when the host asked to stop.
    template <class Items, class PathOf, class Step>
    std::size_t ReadEach(Items& items, PathOf pathOf, bool held, bool trustCache, Step step)
    {
        CBusyScope busy(*this);
        std::size_t taken = 0;
        for (auto& item : items) {
            if (m_host.StopRequested())
                break;
            ++taken;
            SReadStep result = ReadOne(pathOf(item), held, trustCache);
            step(item, result);
        }
        return taken;
    }

    // Takes an entry ReadEach read into the table (its path is not there)
    // and tells the views; the modified state is the caller's.
    void InsertEntry(const std::string& path, std::unique_ptr<CGameEntry> entry);

    // IsBusy stays true until the outermost of nested busy stretches ends;
    // a long read of game files outside the document holds one too.
    class CBusyScope
    {
    public:
        explicit CBusyScope(CVarnexDoc& doc);
        ~CBusyScope();
        CBusyScope(const CBusyScope&) = delete;
        CBusyScope& operator=(const CBusyScope&) = delete;

    private:
        CVarnexDoc& m_doc;
    };

private:
    // One read of ReadEach (and of AddGameFile, which no stop request ends).
    SReadStep ReadOne(const std::string& path, bool held, bool trustCache);
    // Reads path's entry through the header cache when there is one.
    bool ReadEntry(const std::string& path, CGameEntry& entry, bool trustCache = true);

    IDocHost& m_host;
    std::shared_ptr<CHeaderCache> m_pHeaderCache;
    PositionRowBuilder m_buildPositions;
    std::unique_ptr<CPositionRowMaker> m_rowMaker;
    bool m_bBusy = false;
    int m_nBusyDepth = 0;
    std::vector<IDocView*> m_views;
    bool m_bModified = false;
};
