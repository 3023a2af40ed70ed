#include "desktop/app/RecentFileList.h"

#include "settings/SettingsStore.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr std::string_view kSection = "Recent File List";

std::string KeyOf(int index)
{
    return "File" + std::to_string(index + 1);
}
} // namespace

CRecentFileList::CRecentFileList(ISettingsStore& store) : m_store(store) {}

void CRecentFileList::Load()
{
    m_files.clear();
    for (int i = 0; i < kMaxEntries; ++i) {
        const std::string bytes = m_store.GetProfileString(kSection, KeyOf(i));
        // The list has no holes: it ends at the first empty entry.
        if (bytes.empty())
            break;
        m_files << QFile::decodeName(QByteArray::fromStdString(bytes));
    }
}

void CRecentFileList::Save() const
{
    for (int i = 0; i < kMaxEntries; ++i) {
        const std::string bytes = i < Size() ? QFile::encodeName(m_files[i]).toStdString() : std::string();
        m_store.WriteProfileString(kSection, KeyOf(i), bytes);
    }
}

void CRecentFileList::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString full = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(full);
    m_files.prepend(full);
    while (m_files.size() > kMaxEntries)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < Size())
        m_files.removeAt(index);
}

QString CRecentFileList::At(int index) const
{
    return index >= 0 && index < Size() ? m_files[index] : QString();
}

QString CRecentFileList::MenuText(int index) const
{
    QString path = At(index);
    path.replace(QLatin1Char('&'), QLatin1String("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}
