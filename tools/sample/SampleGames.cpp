#include "sample/SampleGames.h"

#include "sample/BinaryRecord.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string_view>

namespace {

// An event as its archive names it, and as a file name spells it.
struct CEvent
{
    std::string_view name;
    std::string_view slug;
};

// Names, events and ranks as their own archives spell them. The bytes of the
// GB2312, Shift_JIS and EUC-KR texts are written as escapes so that the
// source stays UTF-8; the comment gives each text.
constexpr std::string_view kChinaPlayers[] = {
    "\xb9\xc5\xc1\xa6",         // 古力
    "\xbf\xc2\xbd\xe0",         // 柯洁
    "\xb3\xa3\xea\xbb",         // 常昊
    "\xc4\xf4\xce\xc0\xc6\xbd", // 聂卫平
    "\xc2\xed\xcf\xfe\xb4\xba", // 马晓春
    "\xb3\xc2\xd2\xab\xec\xc7", // 陈耀烨
    "\xca\xb1\xd4\xbd",         // 时越
    "\xcc\xc6\xce\xa4\xd0\xc7", // 唐韦星
    "\xd6\xdc\xee\xa3\xd1\xf2", // 周睿羊
    "\xbd\xad\xce\xac\xbd\xdc", // 江维杰
    "\xb7\xb6\xcd\xa2\xee\xda", // 范廷钰
    "\xd3\xe1\xb1\xf3",         // 俞斌
};
constexpr CEvent kChinaEvents[] = {
    {"\xcc\xec\xd4\xaa\xd5\xbd", "tianyuan"},             // 天元战
    {"\xc3\xfb\xc8\xcb\xd5\xbd", "mingren"},              // 名人战
    {"\xb4\xba\xc0\xbc\xb1\xad", "chunlan-cup"},          // 春兰杯
    {"\xd3\xa6\xca\xcf\xb1\xad", "ing-cup"},              // 应氏杯
    {"\xce\xa7\xbc\xd7\xc1\xaa\xc8\xfc", "weiqi-league"}, // 围甲联赛
};
constexpr std::string_view kChinaRanks[] = {
    "\xbe\xc5\xb6\xce", // 九段
    "\xce\xe5\xb6\xce", // 五段
    "\xc6\xdf\xb6\xce", // 七段
    "9p",
    "\x35\xb6\xce", // 5段
};
constexpr std::string_view kChinaPlaces[] = {
    "\xb1\xb1\xbe\xa9", // 北京
    "\xc9\xcf\xba\xa3", // 上海
    "\xba\xbc\xd6\xdd", // 杭州
};

constexpr std::string_view kJapanPlayers[] = {
    "\x88\xe4\x8e\x52\x97\x54\x91\xbe", // 井山裕太
    "\x92\xa3\x9e\x7a",                 // 張栩
    "\xe6\xe2\x8e\xa1\x8c\x4d",         // 趙治勲
    "\x8f\xac\x97\xd1\x8c\xf5\x88\xea", // 小林光一
    "\x95\x90\x8b\x7b\x90\xb3\x8e\xf7", // 武宮正樹
    "\x88\xea\x97\xcd\x97\xc9",         // 一力遼
    "\x8e\xc5\x96\xec\x8c\xd5\x8a\xdb", // 芝野虎丸
    "\x91\xe5\x92\x7c\x89\x70\x97\x59", // 大竹英雄
    "\x89\xc1\x93\xa1\x90\xb3\x95\x76", // 加藤正夫
    "\x93\xa1\x91\xf2\x8f\x47\x8d\x73", // 藤沢秀行
    "\x8d\xe2\x93\x63\x89\x68\x92\x6a", // 坂田栄男
    "\x97\xd1\x8a\x43\x95\xf4",         // 林海峰
};
constexpr CEvent kJapanEvents[] = {
    {"\x8a\xfb\x90\xb9\x90\xed", "kisei"},           // 棋聖戦
    {"\x96\xbc\x90\x6c\x90\xed", "meijin"},          // 名人戦
    {"\x96\x7b\x88\xf6\x96\x56\x90\xed", "honinbo"}, // 本因坊戦
    {"\x89\xa4\x8d\xc0\x90\xed", "oza"},             // 王座戦
    {"\x8f\x5c\x92\x69\x90\xed", "judan"},           // 十段戦 (its second byte is a backslash)
    {"\x93\x56\x8c\xb3\x90\xed", "tengen"},          // 天元戦
    {"\x8c\xe9\x90\xb9\x90\xed", "gosei"},           // 碁聖戦
};
constexpr std::string_view kJapanRanks[] = {
    "\x8b\xe3\x92\x69", // 九段
    "\x94\xaa\x92\x69", // 八段
    "\x8c\xdc\x92\x69", // 五段
    "\x39\x92\x69",     // 9段
    "\x35\x92\x69",     // 5段
};
constexpr std::string_view kJapanPlaces[] = {
    "\x93\x8c\x8b\x9e",         // 東京
    "\x91\xe5\x8d\xe3",         // 大阪
    "\x96\xbc\x8c\xc3\x89\xae", // 名古屋
};

constexpr std::string_view kKoreaPlayers[] = {
    "\xc0\xcc\xbc\xbc\xb5\xb9", // 이세돌
    "\xc0\xcc\xc3\xa2\xc8\xa3", // 이창호
    "\xb9\xda\xc1\xa4\xc8\xaf", // 박정환
    "\xbd\xc5\xc1\xf8\xbc\xad", // 신진서
    "\xc1\xb6\xc8\xc6\xc7\xf6", // 조훈현
    "\xc3\xd6\xc1\xa4",         // 최정
    "\xc0\xaf\xc3\xa2\xc7\xf5", // 유창혁
    "\xbc\xad\xba\xc0\xbc\xf6", // 서봉수
    "\xba\xaf\xbb\xf3\xc0\xcf", // 변상일
    "\xb1\xe8\xc1\xf6\xbc\xae", // 김지석
};
constexpr CEvent kKoreaEvents[] = {
    {"\xb1\xb9\xbc\xf6\xc0\xfc", "kuksu"},                // 국수전
    {"\xb8\xed\xc0\xce\xc0\xfc", "myeongin"},             // 명인전
    {"\xbf\xd5\xc0\xa7\xc0\xfc", "wangwi"},               // 왕위전
    {"\xb9\xd9\xb5\xcf\xb8\xae\xb1\xd7", "baduk-league"}, // 바둑리그
    {"\xc0\xc0\xbe\xbe\xb9\xe8", "ing-cup"},              // 응씨배
};
constexpr std::string_view kKoreaRanks[] = {
    "\x39\xb4\xdc", // 9단
    "\x35\xb4\xdc", // 5단
    "\x33\xb4\xdc", // 3단
    "9p",
};
constexpr std::string_view kKoreaPlaces[] = {
    "\xbc\xad\xbf\xef", // 서울
    "\xba\xce\xbb\xea", // 부산
};

constexpr std::string_view kWorldPlayers[] = {
    "古力",           "柯洁",          "井山裕太",      "芝野虎丸",   "이세돌",      "신진서",
    "Cătălin Țăranu", "Ilya Shikshin", "Mateusz Surma", "Pavol Lisý", "Ali Jabarin", "Artem Kachanovskyi",
    "Fan Hui",        "Lukáš Podpěra",
};
constexpr CEvent kWorldEvents[] = {
    {"Ing Cup", "ing-cup"},
    {"Samsung Cup", "samsung-cup"},
    {"LG Cup", "lg-cup"},
    {"European Go Congress", "egc"},
    {"Pandanet Go European Team Championship", "pandanet"},
    {"Grand Slam", "grand-slam"},
};
constexpr std::string_view kWorldRanks[] = {"9p", "9段", "5段", "9단", "7d", "6d", "2p"};
constexpr std::string_view kWorldPlaces[] = {"Seoul", "Beijing", "Tokyo", "Praha", "Paris", "Kraków"};

// A club player's own games, written by an old program that knew no CA.
constexpr std::string_view kClubMe = "Tom Walker";
constexpr std::string_view kClubPlayers[] = {
    "Anna Berg", "Jan Novak", "Peter Holm", "Sara Lind", "Kenji Mori", "David Cohen", "Lena Vogel", "Ola Strand",
};
constexpr std::string_view kClubRanks[] = {"15k", "12k", "8k", "5k", "2k", "1k", "1d", "3d"};
constexpr std::string_view kClubEvents[] = {"Club League", "Spring Open", "Autumn Handicap Tournament", "Club Ladder"};

// Results as archives write them: resignations, points, time, a draw ("0"),
// a void game, an unknown result, and an empty value.
constexpr std::string_view kResults[] = {"B+R", "W+R", "W+3.5", "B+0.5", "B+2.5", "W+1.5", "W+R",
                                         "B+R", "0",   "Void",  "B+T",   "W+0.5", "?",     ""};

// A fixed generator, so the samples are the same on every machine.
class CSampleRng
{
public:
    std::uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint32_t>(bound)); }
    template <typename T> const T& Pick(std::span<const T> items)
    {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }

private:
    std::uint32_t m_state = 20261209;
};

struct CRegion
{
    std::string_view folder;
    std::string_view charset; // empty: the record names none
    int count;
    std::span<const std::string_view> players;
    std::span<const CEvent> events;
    std::span<const std::string_view> ranks, places;
    int firstYear, lastYear;
};

// Writes value as an SGF property value: "]" and "\" are escaped, so a
// Shift_JIS trail byte 0x5C comes back from the reader as it was.
void AppendProperty(std::string& out, std::string_view id, std::string_view value)
{
    out += id;
    out += '[';
    for (const char c : value) {
        if (c == ']' || c == '\\')
            out += '\\';
        out += c;
    }
    out += ']';
}

std::string Date(CSampleRng& rng, int firstYear, int lastYear)
{
    char text[40]; // room for any int, so GCC sees no truncation
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", firstYear + rng.Below(lastYear - firstYear + 1),
                  1 + rng.Below(12), 1 + rng.Below(28));
    return text;
}

void AppendMoves(std::string& out, CSampleRng& rng)
{
    const int moves = 120 + rng.Below(180);
    for (int m = 0; m < moves; ++m) {
        out += m % 2 ? ";W[" : ";B[";
        out += static_cast<char>('a' + rng.Below(19));
        out += static_cast<char>('a' + rng.Below(19));
        out += ']';
        if (m % 12 == 11)
            out += '\n';
    }
}

// One text record; every fourth record of a region carries a game name.
CSampleGame TextGame(const CRegion& region, int index, CSampleRng& rng)
{
    const std::string_view black = rng.Pick(region.players);
    std::string_view white = rng.Pick(region.players);
    if (white == black)
        white = region.players[(&black - region.players.data() + 1) % region.players.size()];
    const CEvent& event = rng.Pick(region.events);
    const std::string date = Date(rng, region.firstYear, region.lastYear);
    const std::string round = std::to_string(1 + rng.Below(7));

    std::string out = "(;GM[1]FF[4]";
    if (!region.charset.empty())
        AppendProperty(out, "CA", region.charset);
    out += "SZ[19]\n";
    if (index % 4 == 0)
        AppendProperty(out, "GN", date.substr(0, 4) + " " + std::string(event.name) + " " + round);
    AppendProperty(out, "EV", event.name);
    AppendProperty(out, "RO", round);
    AppendProperty(out, "DT", date);
    AppendProperty(out, "PC", rng.Pick(region.places));
    out += '\n';
    AppendProperty(out, "PB", black);
    AppendProperty(out, "BR", rng.Pick(region.ranks));
    AppendProperty(out, "PW", white);
    AppendProperty(out, "WR", rng.Pick(region.ranks));
    out += '\n';
    // Komi rose from 5.5 to 6.5 (7.5 in China) around 2002.
    AppendProperty(out, "KM", date < "2002" ? "5.5" : region.charset == "GB2312" ? "7.5" : "6.5");
    // A few records have no result at all, as unfinished broadcasts do.
    if (index % 17 != 16)
        AppendProperty(out, "RE", kResults[static_cast<std::size_t>(index) % std::size(kResults)]);
    out += '\n';
    AppendMoves(out, rng);
    out += ")\n";

    // Named the way downloaded archives name them: date, event, round.
    std::string name = std::string(region.folder) + "/" + date + "-" + std::string(event.slug) + "-" + round + ".sgf";
    return {name, out, false};
}

CSampleGame ClubGame(int index, CSampleRng& rng)
{
    const std::string_view opponent = rng.Pick(std::span<const std::string_view>(kClubPlayers));
    const std::string_view opponentRank = rng.Pick(std::span<const std::string_view>(kClubRanks));
    const bool meBlack = index % 2 == 0;
    std::string out = "(;GM[1]FF[3]SZ[19]\n";
    AppendProperty(out, "EV", rng.Pick(std::span<const std::string_view>(kClubEvents)));
    AppendProperty(out, "RO", std::to_string(1 + rng.Below(5)));
    AppendProperty(out, "DT", Date(rng, 1996, 2004));
    AppendProperty(out, "PB", meBlack ? kClubMe : opponent);
    AppendProperty(out, "BR", meBlack ? "4k" : opponentRank);
    AppendProperty(out, "PW", meBlack ? opponent : kClubMe);
    AppendProperty(out, "WR", meBlack ? opponentRank : "4k");
    out += '\n';
    AppendProperty(out, "RE", kResults[static_cast<std::size_t>(index * 3) % std::size(kResults)]);
    AppendProperty(out, "KM", "0.5");
    out += '\n';
    AppendMoves(out, rng);
    out += ")\n";

    // The old program wrote .mgt files.
    char name[64];
    std::snprintf(name, sizeof name, "club/tw%02d.mgt", index + 1);
    return {name, out, false};
}

// Codes of the binary form for the properties kept.
enum : std::uint16_t {
    kCodeComment = 3,
    kCodeAddBlack = 7,
    kCodeGameName = 17,
    kCodeEvent = 19,
    kCodeDate = 21,
    kCodePlace = 22,
    kCodeBlack = 23,
    kCodeBlackRank = 24,
    kCodeWhite = 25,
    kCodeWhiteRank = 26,
    kCodeResult = 30,
};

CSampleGame BinaryGame(std::string_view name, std::string_view gameName, std::string_view date, std::string_view black,
                       std::string_view blackRank, std::string_view white, std::string_view whiteRank,
                       std::string_view result, CSampleRng& rng)
{
    CBinaryRecord record;
    record.AddString(kCodeGameName, gameName);
    record.AddString(kCodeEvent, "Castle game");
    record.AddString(kCodeDate, date);
    record.AddString(kCodePlace, "Edo");
    record.AddString(kCodeBlack, black);
    record.AddString(kCodeBlackRank, blackRank);
    record.AddString(kCodeWhite, white);
    record.AddString(kCodeWhiteRank, whiteRank);
    record.AddString(kCodeResult, result);
    record.AddStones(kCodeAddBlack, "");
    for (int m = 0; m < 40; ++m)
        record.AddMove(m % 2 == 0, rng.Below(19), rng.Below(19));
    record.AddLabel(3, 3, "A");
    record.AddString(kCodeComment, "Annotated from the old records.");
    return {std::string(name), record.Bytes(), false};
}

} // namespace

std::vector<CSampleGame> SampleGames()
{
    const CRegion regions[] = {
        {"china", "GB2312", 40, kChinaPlayers, kChinaEvents, kChinaRanks, kChinaPlaces, 1985, 2023},
        {"japan", "Shift_JIS", 40, kJapanPlayers, kJapanEvents, kJapanRanks, kJapanPlaces, 1976, 2023},
        {"korea", "EUC-KR", 35, kKoreaPlayers, kKoreaEvents, kKoreaRanks, kKoreaPlaces, 1990, 2023},
        {"world", "UTF-8", 60, kWorldPlayers, kWorldEvents, kWorldRanks, kWorldPlaces, 2005, 2024},
    };
    CSampleRng rng;
    std::vector<CSampleGame> games;
    for (const CRegion& region : regions)
        for (int i = 0; i < region.count; ++i)
            games.push_back(TextGame(region, i, rng));
    for (int i = 0; i < 23; ++i)
        games.push_back(ClubGame(i, rng));
    games.push_back(BinaryGame("historic/ear-reddening.mgt", "Ear-reddening game", "1846-09-11", "Kuwahara Shusaku",
                               "4d", "Inoue Gennan Inseki", "8d", "B+2", rng));
    games.push_back(BinaryGame("historic/go-shusai-1933.mgt", "Shin Fuseki game", "1933-10-16", "Go Seigen", "5d",
                               "Honinbo Shusai", "Meijin", "W+2", rng));
    // Some games have been looked at already.
    for (std::size_t i = 0; i < games.size(); i += 9)
        games[i].viewed = true;
    return games;
}
