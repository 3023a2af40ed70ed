#pragma once

#include "reader/GameRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CBoard;

// Which position of a game a picture shows, as one number: the end of the
// main line (kOpenAtEnd), or the position after that many moves (0 is the
// setup alone, where a problem is posed). Move numbers past the end stop at
// the end when the game is played.
inline constexpr std::int32_t kOpenAtEnd = -1;

// The stones of one position and nothing else: what a small picture of a
// game needs, two bits a point, so many of them fit in memory and a stored
// one is read back without playing the game again. A picture of width 0
// says the record has no board to show.
class CBoardPicture
{
public:
    CBoardPicture() = default;
    CBoardPicture(int width, int height);
    static CBoardPicture Of(const CBoard& board);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0; }
    EStone At(int x, int y) const;
    void Put(int x, int y, EStone stone);

    // The bytes a picture is stored as: a mark, width, height, then four
    // points a byte, row by row.
    std::string Encode() const;
    // A picture from stored bytes; none when they are not one whole picture.
    static std::optional<CBoardPicture> Decode(std::string_view bytes);

    bool operator==(const CBoardPicture&) const = default;

private:
    std::uint8_t m_width = 0;
    std::uint8_t m_height = 0;
    std::vector<std::uint8_t> m_bits;
};

// The open-at number of the "Open at" choice: 0 its end, 1 move number
// move, 2 its start (as the preview stores them).
std::int32_t OpenAtOfChoice(int choice, int move);

// The position of record at openAt (a number as above); empty when the
// record has no game to show. A stop ends the playing early, and what was
// played by then is the picture: the caller that stops throws it away.
CBoardPicture PictureOfGame(const SGameRecord& record, std::int32_t openAt, const StopCheck& stop = {});
