#pragma once

#include "cache/HeaderCache.h"
#include "game/BoardPicture.h"

#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QObject>
#include <QPixmap>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

// The board pictures of the large-icon style: each row's game at the
// position the preview's "Open at" choice gives. Painting only asks; a
// thread of its own reads the files and plays the games (or finds the
// picture in the header cache) and draws the boards, so the window never
// waits for a file and only puts the viewed mark on a board it shows. The
// rows asked for last are made first: those are the ones in view after a
// scroll. Made pictures are kept in memory, their drawn boards too (fewer:
// they are larger), all bounded.
class CBoardPictures : public QObject
{
    Q_OBJECT
public:
    explicit CBoardPictures(QObject* parent = nullptr);
    // Stops the thread; a game being played is left unfinished.
    ~CBoardPictures() override;

    // Where the pictures of the open collection are stored: asked before
    // each request, so a collection opened since is followed. Null: none.
    using FCacheSource = std::function<CHeaderCache*()>;
    void SetCacheSource(FCacheSource source) { m_cacheSource = std::move(source); }

    // The position pictures show (see kOpenAtEnd); a change forgets every
    // picture made and every request not begun.
    void SetOpenAt(std::int32_t openAt);
    std::int32_t OpenAt() const { return m_openAt; }

    // The pixmap of game (0-based) of path, size pixels square, with the
    // row picture of image over its corner; false when it is not made yet,
    // and then it is asked for. row is where the list shows it now, so that
    // only that row is drawn again once it is ready.
    bool Pixmap(const std::string& path, std::uint32_t game, int image, int size, qreal ratio, int row,
                QPixmap& pixmap);
    // The picture made for game of path, or null (not made yet, or
    // forgotten).
    const CBoardPicture* Find(const std::string& path, std::uint32_t game) const;
    // The game was read again: its picture is made anew when next asked for.
    void Forget(const std::string& path, std::uint32_t game);

    // Blocks until every request is made and stored; the pictures reach the
    // list with the events that follow. For tests and measurements.
    void WaitUntilDone();

signals:
    // A picture asked for at row is ready; that row may be drawn again.
    void Ready(int row, const std::string& path, std::uint32_t game);

private:
    struct SJob
    {
        std::string path;
        std::uint32_t game = 0;
        std::int32_t openAt = kOpenAtEnd;
        int row = -1;
        int size = 0;
        qreal ratio = 1;
        // Made before, its drawn board since forgotten: only drawn again.
        std::optional<CBoardPicture> made;
    };

    static QByteArray KeyOf(const std::string& path, std::uint32_t game);
    void Ask(SJob job);
    void Run();
    // The picture of job; none when the thread is asked to stop.
    std::optional<CBoardPicture> Make(const SJob& job, CHeaderCache* cache);
    void Deliver(const SJob& job, CBoardPicture picture, QImage board);

    FCacheSource m_cacheSource;
    const CHeaderCache* m_lastCache = nullptr;
    std::string m_lastFile;
    std::int32_t m_openAt = kOpenAtEnd;
    // Used by the GUI thread alone.
    QCache<QByteArray, CBoardPicture> m_made;
    QCache<QByteArray, QImage> m_boards;
    QCache<QByteArray, QPixmap> m_pixmaps;

    // Shared with the thread, under m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::vector<SJob> m_jobs;
    std::unordered_set<std::string> m_queued;
    // The key of the picture the thread is making, until it is sent on.
    std::string m_making;
    std::optional<CHeaderCache::SPlace> m_place;
    bool m_placeChanged = false;
    bool m_busy = false;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};
