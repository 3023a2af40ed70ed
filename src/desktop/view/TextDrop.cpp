#include "desktop/view/TextDrop.h"

#include "qtcore/ByteText.h"

#include <QMimeData>
#include <QSaveFile>
#include <QUrl>

#include <algorithm>

namespace {
const QString kPlainText = QStringLiteral("text/plain");
} // namespace

std::vector<std::string> DroppedLocalFiles(const QMimeData* mime)
{
    std::vector<std::string> paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            paths.push_back(PathToBytes(url.toLocalFile()));
    }
    return paths;
}

bool IsGameTextDrag(const QMimeData* mime)
{
    if (!mime || !mime->hasText())
        return false;
    const QList<QUrl> urls = mime->urls();
    return std::none_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

QByteArray DroppedTextBytes(const QMimeData* mime)
{
    if (!mime)
        return {};
    QByteArray bytes = mime->data(kPlainText);
    // A source that offers the text only under a charset-qualified type.
    if (bytes.isEmpty() && mime->hasText())
        bytes = mime->text().toUtf8();
    return bytes;
}

bool WriteGameText(const QString& path, const QByteArray& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    // commit() does not report a failure of the last flush of buffered
    // bytes (a full disk, a file size limit): it would put a cut-off copy in
    // place. Every byte is flushed and checked before.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
