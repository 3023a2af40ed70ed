#pragma once

#include "game/GameTimeline.h"
#include "qtcore/DisplayDecoder.h"
#include "reader/GameRecord.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <optional>
#include <string>

// A game read for the preview: the record, its positions and the charset
// its texts decode in. Made once and shared, never moved: the timeline
// refers to the record beside it.
struct SPreviewGame
{
    std::string path;
    // Which game of the file, from 0.
    std::size_t game = 0;
    SGameRecord record;
    std::optional<CGameTimeline> timeline;
    CDisplayDecoder::SChoice charset;
};

// Reads game files for the preview on a thread of its own, so a large
// analysed record never blocks the list. Only the latest request counts:
// one that is overtaken before it starts is dropped, and one overtaken
// while it reads stops reading and is thrown away.
class CPreviewLoader : public QObject
{
    Q_OBJECT
public:
    explicit CPreviewLoader(QObject* parent = nullptr);
    // Waits for the read in progress.
    ~CPreviewLoader() override;

    // The game-th game (from 0) of the file at path.
    void Request(const std::string& path, std::size_t game = 0);
    // Nothing asked so far is delivered any more.
    void Cancel();

    // Reads the game file at path as the preview shows it; the decoder
    // chooses the charset of its texts; stop may cut the read short.
    static std::shared_ptr<SPreviewGame> Read(const std::string& path, CDisplayDecoder& decoder,
                                              const StopCheck& stop = {}, std::size_t game = 0);

signals:
    // On the GUI thread, for the latest request only.
    void Loaded(std::shared_ptr<const SPreviewGame> game);

private:
    QThreadPool m_pool;
    std::atomic<quint64> m_latest{0};
    // Used by the reading thread alone (the pool has one thread at most).
    CDisplayDecoder m_decoder;
};
