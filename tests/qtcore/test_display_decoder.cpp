#include "qtcore/DisplayDecoder.h"
#include "qtcore/RowDisplay.h"

#include "collection/GameEntry.h"
#include "report/ReportRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ERule = CDisplayDecoder::ERule;

// 棋基础 in three encodings, 囲碁 in Shift_JIS, 바둑 in EUC-KR.
const std::string kGbName = "\xC6\xE5\xBB\xF9\xB4\xA1";
const std::string kUtf8Name = "\xE6\xA3\x8B\xE5\x9F\xBA\xE7\xA1\x80";
const std::string kSjisName = "\x88\xCD\x8C\xE9";
const std::string kKrName = "\xB9\xD9\xB5\xCF";

QString Shown(CDisplayDecoder& decoder, const std::vector<std::string_view>& texts, std::string_view ca,
              std::size_t which = 0)
{
    return decoder.DecodeAll(texts, ca).at(which);
}

TEST(DisplayDecoder, ShowsEachCjkCharsetTheRecordNames)
{
    CDisplayDecoder decoder;
    EXPECT_EQ(Shown(decoder, {kGbName}, "gb2312"), QStringLiteral(u"棋基础"));
    EXPECT_EQ(Shown(decoder, {kSjisName}, "SJIS"), QStringLiteral(u"囲碁"));
    EXPECT_EQ(Shown(decoder, {kSjisName}, "MS_KANJI"), QStringLiteral(u"囲碁"));
    EXPECT_EQ(Shown(decoder, {kKrName}, "EUC-KR"), QStringLiteral(u"바둑"));
    EXPECT_EQ(Shown(decoder, {kKrName}, "cp949"), QStringLiteral(u"바둑"));
    EXPECT_EQ(Shown(decoder, {kGbName}, " GB2312 "), QStringLiteral(u"棋基础"));
}

TEST(DisplayDecoder, UnknownOrMissingCharsetsAreNotDeclared)
{
    EXPECT_EQ(CDisplayDecoder::CharsetForDeclared(""), "");
    EXPECT_EQ(CDisplayDecoder::CharsetForDeclared("no-such-charset"), "");
    EXPECT_NE(CDisplayDecoder::CharsetForDeclared("utf8"), "");
    EXPECT_NE(CDisplayDecoder::CharsetForDeclared("Shift_JIS"), "");
}

TEST(DisplayDecoder, ACharsetThatLiesFallsThroughToUtf8)
{
    CDisplayDecoder decoder;
    // UTF-8 bytes under a gb2312 mark: the strict GB2312 decode fails.
    const std::string text = "\xE6\x96\xB9\xE6\xB3\x95"; // 方法
    EXPECT_EQ(decoder.Choose({text}, "gb2312").rule, ERule::Utf8);
    EXPECT_EQ(Shown(decoder, {text}, "gb2312"), QStringLiteral(u"方法"));
}

TEST(DisplayDecoder, TheWholeRecordDecodesOneWay)
{
    CDisplayDecoder decoder;
    // One text fails as Shift_JIS (0xFF starts no character there), so no
    // text of the record is shown in it.
    const std::string bad = "\xFF\xFF\xFF";
    const auto choice = decoder.Choose({kSjisName, bad}, "Shift_JIS");
    EXPECT_NE(choice.rule, ERule::Declared);
    EXPECT_FALSE(decoder.Decode(kSjisName, choice).contains(QChar::ReplacementCharacter));
}

TEST(DisplayDecoder, AsciiAndUtf8NeedNoCharset)
{
    CDisplayDecoder decoder;
    EXPECT_EQ(decoder.Choose({"Lee Sedol", ""}, "").rule, ERule::Ascii);
    EXPECT_EQ(Shown(decoder, {kUtf8Name}, ""), QStringLiteral(u"棋基础"));
}

TEST(DisplayDecoder, AByteOrderMarkIsNotShown)
{
    CDisplayDecoder decoder;
    EXPECT_EQ(Shown(decoder, {"\xEF\xBB\xBF" + kUtf8Name}, ""), QStringLiteral(u"棋基础"));
    EXPECT_EQ(Shown(decoder,
                    {"\xEF\xBB\xBF"
                     "abc"},
                    "UTF-8"),
              QStringLiteral(u"abc"));
}

TEST(DisplayDecoder, AUtf8NameCutInsideItsLastCharacterShowsTheWholeOnes)
{
    CDisplayDecoder decoder;
    const std::string cut = kUtf8Name.substr(0, kUtf8Name.size() - 1);
    EXPECT_EQ(decoder.Choose({cut}, "UTF-8").rule, ERule::Utf8);
    EXPECT_EQ(Shown(decoder, {cut}, "UTF-8"), QStringLiteral(u"棋基"));
    EXPECT_EQ(Utf8CutTail(cut), 2u);
    EXPECT_EQ(Utf8CutTail(kUtf8Name), 0u);
    // A bad byte in the middle is not a cut.
    EXPECT_EQ(Utf8CutTail("\xE6\x41\xA3"), std::string_view::npos);
}

TEST(DisplayDecoder, ALoneHighByteAtTheEndIsNoCutUtf8Character)
{
    CDisplayDecoder decoder;
    // Latin-1 "José": the last byte could start a UTF-8 character, but
    // nothing else in the text is UTF-8.
    EXPECT_EQ(Shown(decoder, {"Jos\xE9"}, ""), QStringLiteral(u"Jos\u00E9"));
    EXPECT_EQ(Shown(decoder, {"Jos\xE9"}, "UTF-8"), QStringLiteral(u"Jos\u00E9"));
    EXPECT_NE(decoder.Choose({"\xE4\xB8"}, "").rule, ERule::Utf8);
    EXPECT_FALSE(Shown(decoder, {"\xE4\xB8"}, "").isEmpty());
    // A value as long as the binary form's longest is cut wherever it ends.
    const std::string filled = std::string(254, 'a') + "\xE4";
    EXPECT_EQ(decoder.Choose({filled}, "").rule, ERule::Utf8);
    EXPECT_EQ(Shown(decoder, {filled}, ""), QString(254, QLatin1Char('a')));
}

TEST(DisplayDecoder, RejectsOverlongAndSurrogateUtf8)
{
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
}

TEST(DisplayDecoder, DetectsGbNamesWithoutCharset)
{
    CDisplayDecoder decoder;
    // A record long enough for the detector: names and a comment in GB2312.
    const std::string comment = "\xB5\xDA\xD2\xBB\xBE\xD6\xA3\xAC\xBA\xDA\xB7\xBD\xCF\xC8\xD0\xD0\xA3\xAC"
                                "\xB0\xD7\xB7\xBD\xBA\xF3\xCA\xD6\xA1\xA3\xD5\xE2\xCA\xC7\xD2\xBB\xB8\xF6"
                                "\xB7\xC7\xB3\xA3\xBE\xAB\xB2\xCA\xB5\xC4\xB6\xD4\xBE\xD6\xA1\xA3";
    const auto choice = decoder.Choose({kGbName, comment}, "");
    ASSERT_EQ(choice.rule, ERule::Detected);
    EXPECT_EQ(decoder.Decode(kGbName, choice), QStringLiteral(u"棋基础"));
}

TEST(DisplayDecoder, UndetectableBytesShowAsLatin1)
{
    CDisplayDecoder decoder;
    const std::string text = "\xFF\xFE";
    const auto choice = decoder.Choose({text}, "");
    EXPECT_EQ(choice.rule, ERule::Latin1);
    EXPECT_EQ(decoder.Decode(text, choice), QStringLiteral(u"\u00FF\u00FE"));
}

TEST(DisplayDecoder, OneDecoderForManyRecordsChoosesAsAFreshOneWould)
{
    // The list keeps one decoder for every row: what it remembers from one
    // record (charsets named, the detector) must not leak into the next.
    const std::string comment = "\xB5\xDA\xD2\xBB\xBE\xD6\xA3\xAC\xBA\xDA\xB7\xBD\xCF\xC8\xD0\xD0\xA3\xAC"
                                "\xB0\xD7\xB7\xBD\xBA\xF3\xCA\xD6\xA1\xA3\xD5\xE2\xCA\xC7\xD2\xBB\xB8\xF6"
                                "\xB7\xC7\xB3\xA3\xBE\xAB\xB2\xCA\xB5\xC4\xB6\xD4\xBE\xD6\xA1\xA3";
    const std::vector<std::pair<std::vector<std::string_view>, std::string_view>> records{
        {{kGbName, comment}, ""}, {{kSjisName}, "SJIS"},    {{kGbName}, "no-such-charset"},
        {{kKrName}, "EUC-KR"},    {{kGbName, comment}, ""}, {{"\xFF\xFE"}, ""},
        {{kSjisName}, "gb2312"},  {{kGbName}, "GB2312"},    {{kSjisName}, "SJIS"},
    };
    CDisplayDecoder shared;
    for (const auto& [texts, ca] : records) {
        CDisplayDecoder fresh;
        const auto expected = fresh.Choose(texts, ca);
        const auto got = shared.Choose(texts, ca);
        EXPECT_EQ(got.rule, expected.rule) << ca;
        EXPECT_EQ(got.charset, expected.charset) << ca;
        EXPECT_EQ(shared.DecodeAll(texts, ca), fresh.DecodeAll(texts, ca)) << ca;
    }
}

TEST(RowDisplay, CellsFollowTheRecordAndTheFileNameThePath)
{
    CDisplayDecoder decoder;
    CGameEntry entry;
    entry.m_props.Set("CA", "GB2312");
    entry.m_props.Set("PB", kGbName);
    CReportRow row;
    row.key = "/games/" + kUtf8Name + ".sgf";
    row.cells = {kUtf8Name + ".sgf", kGbName, ""};
    DecodeRowForDisplay(row, &entry, decoder);
    ASSERT_EQ(row.shown.size(), 3u);
    EXPECT_EQ(ShownToQString(row.shown[0]), QStringLiteral(u"棋基础.sgf"));
    EXPECT_EQ(ShownToQString(row.shown[1]), QStringLiteral(u"棋基础"));
    EXPECT_TRUE(row.shown[2].empty());
    // The bytes are what sorting and export see; they stay as read.
    EXPECT_EQ(row.cells[1], kGbName);
}

TEST(RowDisplay, AFileNameThatIsNotUtf8ShowsItsOtherBytesAsLatin1)
{
    CDisplayDecoder decoder;
    CReportRow row;
    row.key = "/games/Jos\xE9-\xE6\xA3\x8B.sgf";
    row.cells = {"Jos\xE9-\xE6\xA3\x8B.sgf"};
    DecodeRowForDisplay(row, nullptr, decoder);
    ASSERT_EQ(row.shown.size(), 1u);
    EXPECT_EQ(ShownToQString(row.shown[0]), QStringLiteral(u"Jos\u00E9-\u68CB.sgf"));
}

} // namespace

namespace {
// 常昊 and 古力 in GBK: two characters give the detector too little to go on.
const std::string kShortGb = "\xB3\xA3\xEA\xBB";
const std::string kShortGb2 = "\xB9\xC5\xC1\xA6";
// 第二届中国围棋甲级联赛 and 中国围棋名人战决赛第三局: enough for it.
const std::string kGbEvent = "\xB5\xDA\xB6\xFE\xBD\xEC\xD6\xD0\xB9\xFA\xCE\xA7\xC6\xE5\xBC\xD7\xBC\xB6\xC1\xAA\xC8\xFC";
const std::string kGbEvent2 =
    "\xD6\xD0\xB9\xFA\xCE\xA7\xC6\xE5\xC3\xFB\xC8\xCB\xD5\xBD\xBE\xF6\xC8\xFC\xB5\xDA\xC8\xFD\xBE\xD6";
// 聶衛平 in Big5.
const std::string kBig5Name = "\xC2\xBF\xBD\xC3\xA5\xAD";
} // namespace

TEST(DisplayDecoder, ARecordTheDetectorCannotPlaceTakesTheCharsetOfItsFolder)
{
    CDisplayDecoder decoder;
    const std::string folder = "/games/gbk";
    ASSERT_EQ(decoder.Choose({kShortGb}, "", folder).rule, ERule::Latin1);
    for (const std::string* event : {&kGbEvent, &kGbEvent2}) {
        const auto choice = decoder.Choose({*event, kShortGb2}, "", folder);
        ASSERT_EQ(choice.rule, ERule::Detected);
        decoder.NoteFolderChoice(folder, choice);
    }
    // One record of the folder names another charset: it keeps it, and the
    // folder still goes by most of its records.
    const auto big5 = decoder.Choose({kBig5Name}, "Big5", folder);
    ASSERT_EQ(big5.rule, ERule::Declared);
    decoder.NoteFolderChoice(folder, big5);
    EXPECT_EQ(decoder.Decode(kBig5Name, big5), QStringLiteral(u"聶衛平"));

    const auto inFolder = decoder.Choose({kShortGb}, "", folder);
    EXPECT_EQ(inFolder.rule, ERule::Folder);
    EXPECT_EQ(decoder.Decode(kShortGb, inFolder), QStringLiteral(u"常昊"));
    // Another folder, or a file name that looks Chinese, teaches nothing.
    EXPECT_EQ(decoder.Choose({kShortGb}, "", "/games/other").rule, ERule::Latin1);
    EXPECT_EQ(decoder.Choose({kShortGb}, "", "/games/gbk/sub").rule, ERule::Latin1);
    decoder.ForgetFolders();
    EXPECT_EQ(decoder.Choose({kShortGb}, "", folder).rule, ERule::Latin1);
}

TEST(DisplayDecoder, TheChosenCharsetServesRecordsThatNameNoneOnly)
{
    CDisplayDecoder decoder;
    decoder.SetNoneCharset("GB18030");
    const auto chosen = decoder.Choose({kShortGb}, "");
    EXPECT_EQ(chosen.rule, ERule::Chosen);
    EXPECT_EQ(decoder.Decode(kShortGb, chosen), QStringLiteral(u"常昊"));
    // A CA that decodes wins; valid UTF-8 stays UTF-8.
    EXPECT_EQ(decoder.Choose({kSjisName}, "SJIS").rule, ERule::Declared);
    EXPECT_EQ(decoder.Choose({kUtf8Name}, "").rule, ERule::Utf8);
    // Bytes the chosen charset lacks fall through as before.
    decoder.SetNoneCharset("Shift_JIS");
    EXPECT_NE(decoder.Choose({"\xFF\xFE"}, "").rule, ERule::Chosen);
    // An unknown name is automatic.
    decoder.SetNoneCharset("no-such-charset");
    EXPECT_TRUE(decoder.NoneCharset().empty());
    EXPECT_EQ(decoder.Choose({kShortGb}, "").rule, ERule::Latin1);
}
