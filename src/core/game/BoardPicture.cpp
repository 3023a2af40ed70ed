#include "game/BoardPicture.h"

#include "game/Board.h"
#include "game/GameTimeline.h"

#include <algorithm>

namespace {
// The first byte of stored picture bytes: bytes of any other kind put in
// their place are refused at once.
constexpr char kMark = 'P';
constexpr std::size_t kHeader = 3;

std::size_t BytesFor(int points)
{
    return (static_cast<std::size_t>(points) + 3) / 4;
}
} // namespace

CBoardPicture::CBoardPicture(int width, int height)
    : m_width(static_cast<std::uint8_t>(std::clamp(width, 0, SGameRecord::kMaxSize))),
      m_height(static_cast<std::uint8_t>(std::clamp(height, 0, SGameRecord::kMaxSize))),
      m_bits(BytesFor(m_width * m_height), 0)
{
}

CBoardPicture CBoardPicture::Of(const CBoard& board)
{
    CBoardPicture picture(board.Width(), board.Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.Put(x, y, board.At(x, y));
    return picture;
}

EStone CBoardPicture::At(int x, int y) const
{
    const int point = y * m_width + x;
    return static_cast<EStone>((m_bits[static_cast<std::size_t>(point / 4)] >> (point % 4 * 2)) & 3u);
}

void CBoardPicture::Put(int x, int y, EStone stone)
{
    const int point = y * m_width + x;
    std::uint8_t& byte = m_bits[static_cast<std::size_t>(point / 4)];
    const int shift = point % 4 * 2;
    byte = static_cast<std::uint8_t>((byte & ~(3u << shift)) | (static_cast<unsigned>(stone) << shift));
}

std::string CBoardPicture::Encode() const
{
    std::string bytes;
    bytes.reserve(kHeader + m_bits.size());
    bytes.push_back(kMark);
    bytes.push_back(static_cast<char>(m_width));
    bytes.push_back(static_cast<char>(m_height));
    bytes.append(m_bits.begin(), m_bits.end());
    return bytes;
}

std::optional<CBoardPicture> CBoardPicture::Decode(std::string_view bytes)
{
    if (bytes.size() < kHeader || bytes[0] != kMark)
        return std::nullopt;
    const int width = static_cast<std::uint8_t>(bytes[1]);
    const int height = static_cast<std::uint8_t>(bytes[2]);
    // A board of no width has no height either, and no board is larger
    // than a record can name.
    if (width > SGameRecord::kMaxSize || height > SGameRecord::kMaxSize || (width == 0) != (height == 0))
        return std::nullopt;
    const int points = width * height;
    if (bytes.size() != kHeader + BytesFor(points))
        return std::nullopt;
    CBoardPicture picture(width, height);
    std::copy(bytes.begin() + kHeader, bytes.end(), picture.m_bits.begin());
    // Every point is empty, black or white, and the bits past the last
    // point are clear: anything else was never written by Encode.
    for (int point = 0; point < static_cast<int>(picture.m_bits.size()) * 4; ++point) {
        const unsigned value = (picture.m_bits[static_cast<std::size_t>(point / 4)] >> (point % 4 * 2)) & 3u;
        if (value == 3 || (point >= points && value != 0))
            return std::nullopt;
    }
    return picture;
}

std::int32_t OpenAtOfChoice(int choice, int move)
{
    switch (choice) {
    case 1:
        return std::max(move, 0);
    case 2:
        return 0;
    default:
        return kOpenAtEnd;
    }
}

CBoardPicture PictureOfGame(const SGameRecord& record, std::int32_t openAt, const StopCheck& stop)
{
    if (!record.HasGame())
        return {};
    const CGameTimeline timeline(record, stop);
    const SGamePosition position = openAt == kOpenAtEnd ? timeline.AtEnd() : timeline.At(openAt);
    return CBoardPicture::Of(position.board);
}
