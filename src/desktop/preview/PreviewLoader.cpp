#include "desktop/preview/PreviewLoader.h"

#include "reader/GameReader.h"
#include "reader/GameRecordReader.h"

#include <QMetaObject>

#include <string_view>
#include <vector>

CPreviewLoader::CPreviewLoader(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
    // The thread stays while the user moves through the list.
    m_pool.setExpiryTimeout(-1);
}

CPreviewLoader::~CPreviewLoader()
{
    Cancel();
    m_pool.clear();
    m_pool.waitForDone();
}

void CPreviewLoader::Request(const std::string& path, std::size_t wanted)
{
    const quint64 ticket = ++m_latest;
    m_pool.start([this, ticket, path, wanted] {
        if (ticket != m_latest.load())
            return;
        const StopCheck overtaken = [this, ticket] { return ticket != m_latest.load(); };
        std::shared_ptr<const SPreviewGame> game = Read(path, m_decoder, overtaken, wanted);
        if (ticket != m_latest.load())
            return;
        // Delivered on the GUI thread; the destructor waits for this thread,
        // so the loader is still there when the call is queued.
        QMetaObject::invokeMethod(
            this,
            [this, ticket, game] {
                if (ticket == m_latest.load())
                    emit Loaded(game);
            },
            Qt::QueuedConnection);
    });
}

void CPreviewLoader::Cancel()
{
    ++m_latest;
}

std::shared_ptr<SPreviewGame> CPreviewLoader::Read(const std::string& path, CDisplayDecoder& decoder,
                                                   const StopCheck& stop, std::size_t wanted)
{
    auto game = std::make_shared<SPreviewGame>();
    game->path = path;
    game->game = wanted;
    game->record = ReadGameRecordFile(path, stop, wanted);
    // A binary record still has a size to show its empty board at.
    if (!game->record.HasGame()) {
        int width = 0;
        int height = 0;
        const CPropertyValue size = game->record.root.Find("SZ");
        if (size && ParseBoardSize(*size, width, height))
            game->record.width = width, game->record.height = height;
    }
    game->timeline.emplace(game->record, stop);
    // The charset is chosen by every value of the root node, as the list
    // chooses it for the row.
    std::vector<std::string_view> texts;
    for (const CPropertyTable::Item& item : game->record.root.Items())
        texts.emplace_back(item.second);
    const CPropertyValue ca = game->record.root.Find("CA");
    game->charset = decoder.Choose(texts, ca ? std::string_view(*ca) : std::string_view());
    return game;
}
