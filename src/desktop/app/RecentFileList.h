#pragma once

#include <QString>
#include <QStringList>

class ISettingsStore;

// The most recently opened collections, newest first, at most four, kept in
// the settings store under "Recent File List" / "File1" to "File4".
class CRecentFileList
{
public:
    static constexpr int kMaxEntries = 4;

    explicit CRecentFileList(ISettingsStore& store);

    void Load();
    void Save() const;

    // Puts path at the front; an entry already there moves up instead of repeating.
    void Add(const QString& path);
    void Remove(int index);

    int Size() const { return static_cast<int>(m_files.size()); }
    bool IsEmpty() const { return m_files.isEmpty(); }
    QString At(int index) const;
    const QStringList& Files() const { return m_files; }

    // The menu text of entry index: "&1 path", with & in the path doubled.
    QString MenuText(int index) const;

private:
    ISettingsStore& m_store;
    QStringList m_files;
};
