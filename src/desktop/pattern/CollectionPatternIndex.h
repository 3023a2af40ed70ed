#pragma once

#include "pattern/PositionIndex.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CVarnexDoc;
class IShownText;

// The position index of a collection's game files, with what the window
// needs beside each game: its path (the list's key), which game of the
// file it is, and the year of its
// first date (0 without one). Made from the header cache's position rows,
// the missing ones read from the files.
class CCollectionPatternIndex
{
public:
    // The index as the command line loads it (shown decodes the results as
    // the list shows them). step is told the rows taken so far and may ask
    // to stop (true); the index is then left incomplete and Build answers
    // false.
    using Step = std::function<bool(std::size_t rows)>;
    bool Build(CVarnexDoc& doc, IShownText* shown, const Step& step = {});

    const CPositionIndex& Index() const { return m_index; }
    std::size_t GameCount() const { return m_paths.size(); }
    const std::string& Path(std::uint32_t game) const { return m_paths[game]; }
    // Which game of its file an index game is, from 0.
    std::uint32_t GameInFile(std::uint32_t game) const { return m_games[game]; }
    int Year(std::uint32_t game) const { return m_years[game]; }

private:
    CPositionIndex m_index;
    std::vector<std::string> m_paths;
    std::vector<std::uint32_t> m_games;
    std::vector<int> m_years;
};
