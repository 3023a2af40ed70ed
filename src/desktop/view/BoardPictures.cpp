#include "desktop/view/BoardPictures.h"

#include "desktop/view/RowImages.h"
#include "files/FileStatus.h"
#include "reader/GameReader.h"

#include <QMetaObject>

namespace {
// Pictures kept in memory: a couple of hundred bytes each with their keys,
// so the rows of many screens stay made.
constexpr int kMadePictures = 20000;
// Drawn boards kept (16 KiB each at 64 pixels): many screens of icons.
constexpr int kBoards = 1536;
// Boards with their marks, as painted: a few screens of icons.
constexpr int kPixmaps = 512;
// Requests waiting beyond this many are the oldest, of rows scrolled past
// long ago: they are dropped, and asked again if those rows come back.
constexpr std::size_t kMaxWaiting = 2048;
} // namespace

CBoardPictures::CBoardPictures(QObject* parent)
    : QObject(parent), m_made(kMadePictures), m_boards(kBoards), m_pixmaps(kPixmaps)
{
}

CBoardPictures::~CBoardPictures()
{
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

QByteArray CBoardPictures::KeyOf(const std::string& path, std::uint32_t game)
{
    QByteArray key(path.data(), static_cast<qsizetype>(path.size()));
    key.append('\0');
    key.append(reinterpret_cast<const char*>(&game), sizeof game);
    return key;
}

void CBoardPictures::SetOpenAt(std::int32_t openAt)
{
    if (openAt == m_openAt)
        return;
    m_openAt = openAt;
    m_made.clear();
    m_boards.clear();
    m_pixmaps.clear();
    const std::lock_guard lock(m_mutex);
    m_jobs.clear();
    m_queued.clear();
}

const CBoardPicture* CBoardPictures::Find(const std::string& path, std::uint32_t game) const
{
    return m_made.object(KeyOf(path, game));
}

void CBoardPictures::Forget(const std::string& path, std::uint32_t game)
{
    QByteArray key = KeyOf(path, game);
    m_made.remove(key);
    m_boards.remove(key);
    for (const char image : {'0', '1'})
        m_pixmaps.remove(key + image);
}

bool CBoardPictures::Pixmap(const std::string& path, std::uint32_t game, int image, int size, qreal ratio, int row,
                            QPixmap& pixmap)
{
    const QByteArray key = KeyOf(path, game);
    const QByteArray marked = key + (image == 1 ? '1' : '0');
    const int pixels = qRound(size * ratio);
    if (const QPixmap* made = m_pixmaps.object(marked); made && made->width() == pixels) {
        pixmap = *made;
        return true;
    }
    const CBoardPicture* picture = m_made.object(key);
    // A record without a board keeps the plain icon.
    if (picture && picture->IsEmpty())
        return false;
    const QImage* board = m_boards.object(key);
    if (!board || board->width() != pixels) {
        SJob job{path, game, m_openAt, row, size, ratio, std::nullopt};
        if (picture)
            job.made = *picture;
        Ask(std::move(job));
        return false;
    }
    pixmap = MarkBoardImage(*board, image);
    m_pixmaps.insert(marked, new QPixmap(pixmap));
    return true;
}

void CBoardPictures::Ask(SJob job)
{
    // The cache is looked up here, on the GUI thread, which owns the
    // document: the thread opens a connection of its own to it.
    CHeaderCache* cache = m_cacheSource ? m_cacheSource() : nullptr;
    // The pointer alone could be a new cache where a closed one was.
    const bool cacheChanged = cache != m_lastCache || (cache && cache->File() != m_lastFile);
    m_lastCache = cache;
    m_lastFile = cache ? cache->File() : std::string();
    std::string queued = KeyOf(job.path, job.game).toStdString();
    {
        const std::lock_guard lock(m_mutex);
        if (cacheChanged) {
            m_place = cache ? std::optional(cache->Place()) : std::nullopt;
            m_placeChanged = true;
        }
        // Asked again while it waits or is being made: once is enough.
        if (queued == m_making || !m_queued.insert(queued).second)
            return;
        m_jobs.push_back(std::move(job));
        if (m_jobs.size() > kMaxWaiting) {
            m_queued.erase(KeyOf(m_jobs.front().path, m_jobs.front().game).toStdString());
            m_jobs.erase(m_jobs.begin());
        }
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
    }
    m_wake.notify_one();
}

void CBoardPictures::Run()
{
    std::shared_ptr<CHeaderCache> cache;
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (m_jobs.empty()) {
            m_wake.wait(lock, [this] { return m_quit || !m_jobs.empty(); });
            continue;
        }
        // Last asked, first made: the rows in view now.
        SJob job = std::move(m_jobs.back());
        m_jobs.pop_back();
        m_making = KeyOf(job.path, job.game).toStdString();
        m_queued.erase(m_making);
        m_busy = true;
        const std::optional<CHeaderCache::SPlace> place = m_placeChanged ? m_place : std::nullopt;
        const bool placeChanged = std::exchange(m_placeChanged, false);
        lock.unlock();
        if (placeChanged)
            cache = place ? CHeaderCache::OpenPlace(*place) : nullptr;
        std::optional<CBoardPicture> picture = job.made ? job.made : Make(job, cache.get());
        if (picture)
            Deliver(job, *picture, picture->IsEmpty() ? QImage() : DrawBoardImage(*picture, job.size, job.ratio));
        lock.lock();
        if (m_jobs.empty() && cache) {
            // Stored while nothing else waits, so a reopen finds them.
            lock.unlock();
            cache->Flush();
            lock.lock();
        }
        m_making.clear();
        m_busy = false;
        m_done.notify_all();
    }
    lock.unlock();
    cache.reset();
}

std::optional<CBoardPicture> CBoardPictures::Make(const SJob& job, CHeaderCache* cache)
{
    SFileStatus status;
    // A file that is not there has no board to show.
    if (!StatGameFile(job.path, status))
        return CBoardPicture();
    const std::int64_t takenNs = WallClockNs();
    std::string stored;
    if (cache && cache->LookupPicture(job.path, job.game, job.openAt, status, stored)) {
        if (std::optional<CBoardPicture> picture = CBoardPicture::Decode(stored))
            return picture;
    }
    const StopCheck stop = [this] { return m_quit.load(); };
    const SGameRecord record = ReadGameRecordFile(job.path, stop, job.game);
    CBoardPicture picture = PictureOfGame(record, job.openAt, stop);
    if (m_quit)
        return std::nullopt;
    if (cache)
        cache->RecordPicture(job.path, job.game, job.openAt, status, takenNs, picture.Encode());
    return picture;
}

void CBoardPictures::Deliver(const SJob& job, CBoardPicture picture, QImage board)
{
    // Queued to the GUI thread; dropped by Qt if this object is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this, job, picture = std::move(picture), board = std::move(board)]() mutable {
            if (job.openAt != m_openAt)
                return;
            Forget(job.path, job.game);
            const QByteArray key = KeyOf(job.path, job.game);
            m_made.insert(key, new CBoardPicture(std::move(picture)));
            if (!board.isNull())
                m_boards.insert(key, new QImage(std::move(board)));
            emit Ready(job.row, job.path, job.game);
        },
        Qt::QueuedConnection);
}

void CBoardPictures::WaitUntilDone()
{
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return (m_jobs.empty() && !m_busy) || !m_thread.joinable(); });
}
