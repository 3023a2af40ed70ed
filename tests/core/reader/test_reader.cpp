#include "files/FileInput.h"
#include "reader/BinaryReader.h"
#include "reader/ByteSource.h"
#include "reader/GameReader.h"
#include "reader/RecordTokenizer.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
struct TextResult
{
    bool ok = false;
    CPropertyTable table;
};

TextResult ReadText(std::string_view bytes)
{
    TextResult result;
    CTextStream stream(bytes);
    result.ok = ReadTextRecord(stream, result.table);
    return result;
}

std::string ValueOf(const CPropertyTable& table, std::string_view id)
{
    const CPropertyValue value = table.Find(id);
    return value != nullptr ? std::string(*value) : std::string("<none>");
}

class CRecordingHooks : public IReadHooks
{
public:
    void BeforeRead() override { ++m_beforeReads; }
    void ReportFileError(const std::string& path, const std::string& message) override
    {
        m_errors.push_back(path + ": " + message);
    }
    void ReportNotRead(const std::string& path, const std::string& reason) override
    {
        m_notRead.push_back(path + ": " + reason);
    }
    std::uint64_t MaxRecordBytes() const override { return m_maxRecordBytes; }

    int m_beforeReads = 0;
    std::vector<std::string> m_errors;
    std::vector<std::string> m_notRead;
    std::uint64_t m_maxRecordBytes = kMaxRecordBytes;
};

// A file of bytes followed by a hole up to size: large on disk, nothing to write.
std::string WriteSparse(const CTempDir& dir, const std::string& name, const std::string& bytes, off_t size)
{
    const std::string path = dir.Write(name, bytes);
    EXPECT_EQ(::truncate(path.c_str(), size), 0);
    return path;
}

// Builds a binary game record byte by byte, little-endian.
class CBinaryBuilder
{
public:
    CBinaryBuilder& Byte(std::uint8_t b)
    {
        m_bytes.push_back(static_cast<char>(b));
        return *this;
    }
    CBinaryBuilder& U16(std::uint16_t v) { return Byte(v & 0xFF).Byte(v >> 8); }
    CBinaryBuilder& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    CBinaryBuilder& Raw(std::string_view bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }
    CBinaryBuilder& Header(std::int32_t contents, std::int32_t count)
    {
        Byte(6).U32(static_cast<std::uint32_t>(contents));
        m_bytes.append(12, '\x55');
        return U32(static_cast<std::uint32_t>(count));
    }
    CBinaryBuilder& Short(std::string_view text) { return Byte(static_cast<std::uint8_t>(text.size())).Raw(text); }
    CBinaryBuilder& Kept(std::uint16_t code, std::string_view text) { return U16(code).Short(text); }
    CBinaryBuilder& Points(std::uint16_t count)
    {
        U16(count);
        m_bytes.append(std::size_t{count} * 8, '\x01');
        return *this;
    }

    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

TextResult ReadBinary(const CBinaryBuilder& builder)
{
    TextResult result;
    // Explicitly a view: a std::string would choose the overload that takes a path.
    result.ok = ReadBinaryRecord(std::string_view(builder.Bytes()), result.table);
    return result;
}
} // namespace

TEST(TextReader, StoresTheRootNodeAndStopsAtTheSecondNode)
{
    const TextResult r = ReadText("(;GN[Test];B[pd])");
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.table.size(), 1u);
    EXPECT_EQ(ValueOf(r.table, "GN"), "Test");
}

TEST(TextReader, ARecordOfOnlyTheRootNodeIsRead)
{
    for (const char* text : {"(;GN[Test]PB[A]PW[B])", "(;GN[Test]PB[A]PW[B])\n", "(;GN[Test]PB[A]PW[B]) \r\n\t ",
                             "(;GN[Test]PB[A]PW[B]", "(;GN[Test]PB[A]PW[B])\x1a(;PB[Later])"}) {
        SCOPED_TRACE(text);
        const TextResult r = ReadText(text);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.table.size(), 3u);
        EXPECT_EQ(ValueOf(r.table, "GN"), "Test");
        EXPECT_EQ(ValueOf(r.table, "PB"), "A");
        EXPECT_EQ(ValueOf(r.table, "PW"), "B");
    }
}

TEST(TextReader, InputEndingInsideAPropertyFails)
{
    for (const char* text : {"", "no parenthesis", "(", "(;", "(no semicolon", "(;GN[Test", "(;GN[Test\\", "(;GN[",
                             "(;GN[x]P", "(;GN[x]PB", "(;GN[x]PB  ", "(;GN[x]KOMI"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ReadText(text).ok);
    }
}

TEST(TextReader, AnEmptyRootNodeSucceedsWithAnEmptyTable)
{
    for (const char* text : {"(;;B[pd])", "(;(;B[pd]))"}) {
        const TextResult r = ReadText(text);
        EXPECT_TRUE(r.ok) << text;
        EXPECT_TRUE(r.table.empty()) << text;
    }
}

TEST(TextReader, IgnoresTextBeforeTheTreeAndBeforeTheFirstNode)
{
    const TextResult r = ReadText("Licence: see [COPYING]; PB[no]\n(junk here;PB[Alice];)");
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.table.size(), 1u);
    EXPECT_EQ(ValueOf(r.table, "PB"), "Alice");
}

TEST(TextReader, ReadsGameInformationWrittenRightAfterTheParenthesis)
{
    // As some Korean and Chinese servers write it: no ";" before the root node.
    for (const char* text : {"(TE[Cup]RD[2025-06-12]PB[Kim]PW[Lee];B[qd];W[dd])",
                             "junk\r\n(TE[Cup]\r\nRD[2025-06-12] PB[Kim]PW[Lee]\r\n;B[qd])"}) {
        SCOPED_TRACE(text);
        const TextResult r = ReadText(text);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.table.size(), 4u);
        EXPECT_EQ(ValueOf(r.table, "TE"), "Cup");
        EXPECT_EQ(ValueOf(r.table, "PB"), "Kim");
        EXPECT_EQ(ValueOf(r.table, "PW"), "Lee");
        EXPECT_EQ(ValueOf(r.table, "B"), "<none>");
    }
}

TEST(TextReader, PropertiesBeforeTheFirstNodeThatEndNoRootNodeAreIgnoredAsBefore)
{
    // A "(" or ")" at an identifier position, or the end of the input, comes
    // before the ";": everything up to the first ";" is passed over.
    const TextResult tree = ReadText("(CA[UTF-8])(;FF[4]PB[A];B[aa])");
    EXPECT_TRUE(tree.ok);
    EXPECT_EQ(tree.table.size(), 2u);
    EXPECT_EQ(ValueOf(tree.table, "FF"), "4");
    EXPECT_EQ(ValueOf(tree.table, "CA"), "<none>");

    // The first ";" stands inside a value there: the root node is the rest.
    const TextResult inside = ReadText("(GN[a;b](;PB[A];)");
    EXPECT_TRUE(inside.ok);
    EXPECT_TRUE(inside.table.empty());

    EXPECT_FALSE(ReadText("(GN[x]PB[y]").ok);
    EXPECT_FALSE(ReadText("(GN[x]PB[y;").ok);
}

TEST(TextReader, ARootNodeLargerThanTheLimitFailsAsTooLarge)
{
    const std::string record = "(;GN[" + std::string(200, 'x') + "]PB[A];)";
    CPropertyTable table;
    CTextStream small(record);
    EXPECT_EQ(ReadTextRecord(small, table, 100), ERecordResult::TooLarge);
    CTextStream large(record);
    EXPECT_EQ(ReadTextRecord(large, table, 300), ERecordResult::Read);

    // Many short values add up just the same.
    std::string many = "(;";
    for (int i = 0; i < 50; ++i)
        many += "GN[abc]";
    many += ";)";
    CTextStream stream(many);
    EXPECT_EQ(ReadTextRecord(stream, table, 100), ERecordResult::TooLarge);
}

TEST(TextReader, CutsIdentifiersToTheirFirstTwoUppercaseLetters)
{
    const TextResult r = ReadText("(;KOMI[5.5]PlayerBlack[Alice]Black[ff]komi[6.5]FF[4];)");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(ValueOf(r.table, "KO"), "5.5");
    EXPECT_EQ(ValueOf(r.table, "PB"), "Alice");
    EXPECT_EQ(ValueOf(r.table, "B"), "ff");
    EXPECT_EQ(ValueOf(r.table, ""), "6.5");
    EXPECT_EQ(ValueOf(r.table, "FF"), "4");
    EXPECT_EQ(r.table.size(), 5u);
}

TEST(TextReader, FurtherValuesOfAPropertyGoUnderTheEmptyIdentifier)
{
    const TextResult r = ReadText("(;AB[aa][bb][cc]PB[x]PB[y];)");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(ValueOf(r.table, "AB"), "aa");
    EXPECT_EQ(ValueOf(r.table, ""), "cc");
    EXPECT_EQ(ValueOf(r.table, "PB"), "y");
}

TEST(TextReader, RemovesEscapingBackslashesAndKeepsEverythingElse)
{
    using namespace std::string_view_literals;
    const TextResult r = ReadText("(;C[a\\]b]GC[\\\\x\\y]GN[ semi;paren( ]EV[\xff\x00\x80 ];B[aa])"sv);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(ValueOf(r.table, "C"), "a]b");
    EXPECT_EQ(ValueOf(r.table, "GC"), "\\xy");
    EXPECT_EQ(ValueOf(r.table, "GN"), " semi;paren( ");
    EXPECT_EQ(ValueOf(r.table, "EV"), std::string("\xff\x00\x80 ", 4));
}

TEST(TextReader, ReadsCrLfAsLfAndKeepsALoneCr)
{
    const TextResult r = ReadText("(;\r\nGC[one\r\ntwo\rthree\r\r\n]\r\nPB[A];)");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(ValueOf(r.table, "GC"), "one\ntwo\rthree\r\n");
}

TEST(TextReader, CtrlZEndsTheInput)
{
    EXPECT_FALSE(ReadText("(;GN[Te\x1ast];)").ok);
    EXPECT_FALSE(ReadText("\x1a(;GN[Test];)").ok);
}

namespace {
// The tokens of bytes, one letter each (values and identifiers in brackets).
std::string Tokens(std::string_view bytes, std::uint64_t limit = CRecordTokenizer::kNoLimit)
{
    CTextStream stream(bytes);
    CRecordTokenizer tokens(stream, limit);
    std::string out;
    for (;;) {
        switch (tokens.Next()) {
        case ERecordToken::Open:
            out += '(';
            break;
        case ERecordToken::Close:
            out += ')';
            break;
        case ERecordToken::Semicolon:
            out += ';';
            break;
        case ERecordToken::Identifier:
            out += "I<" + std::string(tokens.Id()) + ">";
            break;
        case ERecordToken::Value:
            out += "V<" + tokens.Value() + ">";
            break;
        case ERecordToken::End:
            return out + "$";
        case ERecordToken::ValueCutOff:
            return out + "!cut";
        case ERecordToken::TooLarge:
            return out + "!large";
        }
    }
}
} // namespace

TEST(RecordTokenizer, SplitsARecordIntoItsTokens)
{
    EXPECT_EQ(Tokens("x(;GN[a];B[aa](;W[bb]))"), "I<>(;I<GN>V<a>;I<B>V<aa>(;I<W>V<bb>))$");
    // Identifiers keep two uppercase letters; a run without a letter is none,
    // and the value after it belongs to the property before.
    EXPECT_EQ(Tokens(";KOMI[1]komi[2]AB[aa] 1,[bb]\n[cc]x[dd]"), ";I<KO>V<1>I<>V<2>I<AB>V<aa>V<bb>V<cc>I<>V<dd>$");
    // An identifier before a token or the end comes first, alone.
    EXPECT_EQ(Tokens(";PB;P(PW"), ";I<PB>;I<P>(I<PW>$");
    // A backslash takes the next byte (a CR LF reads as one LF).
    EXPECT_EQ(Tokens("[a\\]\\\\b\\\r\nc]"), "V<a]\\b\nc>$");
    EXPECT_EQ(Tokens(";C[open"), ";I<C>!cut");
    EXPECT_EQ(Tokens(";C[open\\"), ";I<C>!cut");
    EXPECT_EQ(Tokens(";C[a]\x1a;B[aa]"), ";I<C>V<a>$");
    // A value's plain bytes are taken in runs: every byte a run must stop at
    // ends it, a 0x1A inside the value ends the input there.
    EXPECT_EQ(Tokens(";C[plain text\r\nmore\rtext]"), ";I<C>V<plain text\nmore\rtext>$");
    EXPECT_EQ(Tokens(";C[ab\x1a"
                     "cd]"),
              ";I<C>!cut");
}

TEST(RecordTokenizer, TheLimitIsTheFirstPositionThatMayNotBeReached)
{
    // Ten bytes: with a limit of ten they are all read, with nine not.
    EXPECT_EQ(Tokens("(;GN[abc])", 10), "(;I<GN>V<abc>)$");
    EXPECT_EQ(Tokens("(;GN[abc])", 9), "(;I<GN>V<abc>!large");
    // Inside a value, an identifier and after a backslash alike.
    EXPECT_EQ(Tokens("(;GN[abc])", 7), "(;I<GN>!large");
    EXPECT_EQ(Tokens("(;GNXYZ[abc])", 5), "(;!large");
    EXPECT_EQ(Tokens("[\\]", 2), "!large");
}

TEST(SkipPast, ReturnsTheCharacterAfterTheMatchWithoutConsumingIt)
{
    CTextStream stream("ab(cd");
    EXPECT_EQ(SkipPast(stream, '('), 'c');
    EXPECT_EQ(stream.Get(), 'c');
    EXPECT_EQ(SkipPast(stream, 'd'), CTextStream::kEnd);

    CTextStream missing("abc");
    EXPECT_EQ(SkipPast(missing, ';'), CTextStream::kEnd);
}

TEST(GameFile, ReadsTextRecordsFromFilesAndTellsTheHooksFirst)
{
    CTempDir dir;
    const std::string path = dir.Write("game.sgf", "(;GN[Test]PB[Alice]PW[Bob])\r\n");
    CRecordingHooks hooks;
    CPropertyTable table;
    EXPECT_TRUE(ReadGameFile(path, table, hooks));
    EXPECT_EQ(hooks.m_beforeReads, 1);
    EXPECT_TRUE(hooks.m_errors.empty());
    EXPECT_EQ(ValueOf(table, "PB"), "Alice");
    EXPECT_EQ(ValueOf(table, "PW"), "Bob");
}

TEST(GameFile, AFileThatCannotBeOpenedFailsWithoutAMessage)
{
    CTempDir dir;
    CRecordingHooks hooks;
    CPropertyTable table;
    EXPECT_FALSE(ReadGameFile((dir.path() / "missing.sgf").string(), table, hooks));
    EXPECT_EQ(hooks.m_beforeReads, 1);
    EXPECT_TRUE(hooks.m_errors.empty());

    EXPECT_FALSE(ReadGameFile(dir.Write("empty.sgf", ""), table, hooks));
    EXPECT_TRUE(hooks.m_errors.empty());
}

TEST(GameFile, ReadsAcrossTheReadChunksOfALargeFile)
{
    // The junk fills more than one 4 KiB chunk and puts the CR of a CR LF
    // pair on the last byte of a chunk.
    std::string junk(5000, 'x');
    std::string text = junk + "(;GC[";
    text.append(8192 - 1 - text.size(), 'v');
    text += "\r\nend]PB[Alice];)";
    ASSERT_EQ(text[8191], '\r');
    CTempDir dir;
    CPropertyTable table;
    ASSERT_TRUE(ReadGameFile(dir.Write("big.sgf", text), table));
    const std::string gc = ValueOf(table, "GC");
    EXPECT_EQ(gc.size(), 8192 - 1 - (junk.size() + 5) + 4);
    EXPECT_EQ(gc.substr(gc.size() - 4), "\nend");
    EXPECT_EQ(ValueOf(table, "PB"), "Alice");
}

TEST(GameFile, AValueThatNeverEndsStopsAtTheLimitWithItsReason)
{
    // 256 MiB of nothing after an open value: read to the limit only.
    CTempDir dir;
    const std::string path = WriteSparse(dir, "endless.sgf", "(;GN[", off_t{256} << 20);
    CRecordingHooks hooks;
    hooks.m_maxRecordBytes = std::uint64_t{1} << 20;
    CPropertyTable table;
    EXPECT_FALSE(ReadGameFile(path, table, hooks));
    EXPECT_EQ(hooks.m_notRead, std::vector<std::string>{path + ": root node larger than 1 MiB"});
}

TEST(GameFile, ABinaryRecordIsReadUpToTheLimit)
{
    CTempDir dir;
    CRecordingHooks hooks;
    hooks.m_maxRecordBytes = 64 * 1024;
    CBinaryBuilder huge;
    huge.Header(1, 1000000).Kept(23, "Alice");
    const std::string cut = WriteSparse(dir, "huge.sgf", huge.Bytes(), off_t{256} << 20);
    CPropertyTable table;
    EXPECT_FALSE(ReadGameFile(cut, table, hooks));
    EXPECT_EQ(hooks.m_notRead, std::vector<std::string>{cut + ": binary record larger than 65536 bytes"});

    // A record that ends within the limit is read, whatever follows it.
    CBinaryBuilder small;
    small.Header(1, 1).Kept(23, "Alice");
    const std::string trailing = WriteSparse(dir, "trailing.sgf", small.Bytes(), off_t{256} << 20);
    CPropertyTable read;
    EXPECT_TRUE(ReadGameFile(trailing, read, hooks));
    EXPECT_EQ(ValueOf(read, "PB"), "Alice");
}

TEST(FileInput, AFileThatGrowsWhileItIsReadEndsAtTheSizeSeenFirst)
{
    CTempDir dir;
    const std::string path = dir.Write("growing.sgf", std::string(8192, 'a'));
    CFileInput file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    char buffer[4096];
    ASSERT_EQ(file.Read(buffer, sizeof buffer), 4096);
    {
        std::ofstream more(path, std::ios::binary | std::ios::app);
        more << std::string(65536, 'b');
    }
    std::size_t rest = 0;
    for (long got = 0; (got = file.Read(buffer, sizeof buffer)) > 0;) {
        rest += static_cast<std::size_t>(got);
        ASSERT_EQ(std::string(buffer, static_cast<std::size_t>(got)), std::string(static_cast<std::size_t>(got), 'a'));
    }
    EXPECT_EQ(rest, 4096u);
}

TEST(GameFile, SaysWhyAFileWasNotRead)
{
    CTempDir dir;
    const std::string missing = (dir.path() / "missing.sgf").string();
    const std::string text = dir.Write("text.sgf", "no record");
    CRecordingHooks hooks;
    CPropertyTable table;
    EXPECT_FALSE(ReadGameFile(missing, table, hooks));
    EXPECT_FALSE(ReadGameFile(text, table, hooks));
    EXPECT_FALSE(ReadGameFile(dir.path().string(), table, hooks));
    EXPECT_FALSE(ReadGameFile("/dev/zero", table, hooks));
    EXPECT_EQ(hooks.m_notRead,
              (std::vector<std::string>{missing + ": No such file or directory", text + ": not a game record",
                                        dir.path().string() + ": Is a directory", "/dev/zero: not a regular file"}));
}

TEST(GameFile, AFileWithoutReadPermissionGivesTheSystemsReason)
{
    CTempDir dir;
    const std::string path = dir.Write("locked.sgf", "(;PB[A];)");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    CRecordingHooks hooks;
    CPropertyTable table;
    {
        CUnprivileged unprivileged;
        if (!unprivileged.Active())
            GTEST_SKIP() << unprivileged.Problem();
        EXPECT_FALSE(ReadGameFile(path, table, hooks));
    }
    EXPECT_EQ(hooks.m_notRead, std::vector<std::string>{path + ": Permission denied"});
}

TEST(GameFile, TheFirstByteSixChoosesTheBinaryFormWhateverTheName)
{
    CBinaryBuilder b;
    b.Header(1, 2).Kept(23, "Alice").Kept(25, "Bob");
    CTempDir dir;
    CRecordingHooks hooks;
    CPropertyTable table;
    EXPECT_TRUE(ReadGameFile(dir.Write("looks-like-text.sgf", b.Bytes()), table, hooks));
    EXPECT_EQ(ValueOf(table, "PB"), "Alice");
    EXPECT_EQ(ValueOf(table, "PW"), "Bob");
    EXPECT_EQ(hooks.m_beforeReads, 1);
}

TEST(GameFile, ABinaryRecordLargerThanTheFirstReadIsReadWhole)
{
    // The text stream's first 4 KiB hold the start; the rest follows from
    // the file, so a name past the point list is still found.
    CBinaryBuilder b;
    b.Header(1, 3).Kept(17, "Big").U16(7).Points(600).Kept(23, "Late");
    ASSERT_GT(b.Bytes().size(), 4096u);
    CTempDir dir;
    CRecordingHooks hooks;
    CPropertyTable table;
    EXPECT_TRUE(ReadGameFile(dir.Write("big.mgt", b.Bytes()), table, hooks));
    EXPECT_EQ(ValueOf(table, "GN"), "Big");
    EXPECT_EQ(ValueOf(table, "PB"), "Late");
    EXPECT_TRUE(hooks.m_errors.empty());

    std::string torn = b.Bytes();
    torn.pop_back();
    CPropertyTable tornTable;
    EXPECT_FALSE(ReadGameFile(dir.Write("torn.mgt", torn), tornTable, hooks));
    EXPECT_TRUE(hooks.m_errors.empty());
}

TEST(BinaryReader, StoresTheStringRecordsUnderTheirNames)
{
    CBinaryBuilder b;
    b.Header(1, 6)
        .Kept(17, "Test")
        .Kept(21, "1999-01-01")
        .Kept(23, "Alice")
        .Kept(25, "Bob")
        .Kept(30, "B+R")
        .Kept(0, "nameless");
    const TextResult r = ReadBinary(b);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.table.size(), 6u);
    EXPECT_EQ(ValueOf(r.table, "GN"), "Test");
    EXPECT_EQ(ValueOf(r.table, "DT"), "1999-01-01");
    EXPECT_EQ(ValueOf(r.table, "PB"), "Alice");
    EXPECT_EQ(ValueOf(r.table, "PW"), "Bob");
    EXPECT_EQ(ValueOf(r.table, "RE"), "B+R");
    EXPECT_EQ(ValueOf(r.table, ""), "nameless");
}

TEST(BinaryReader, PassesOverMovesPointListsAndLabels)
{
    CBinaryBuilder b;
    b.Header(1, 11);
    b.U16(1).Raw("12345678").U16(2).Raw("abcdefgh");
    for (std::uint16_t code : {7, 8, 9, 13, 14, 15, 16})
        b.U16(code).Points(code == 14 ? 0 : 3);
    b.U16(12).Points(2).U16(2).Short("A").Short("");
    b.Kept(3, "after all of them");
    const TextResult r = ReadBinary(b);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.table.size(), 1u);
    EXPECT_EQ(ValueOf(r.table, "C"), "after all of them");
}

TEST(BinaryReader, KeepsTheLastValueAndCutsAtTheFirstZeroByte)
{
    CBinaryBuilder b;
    b.Header(1, 4)
        .Kept(3, "first")
        .Kept(3, std::string_view("sec\0ond", 7))
        .Kept(17, "")
        .Kept(18, std::string(255, 'g'));
    const TextResult r = ReadBinary(b);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(ValueOf(r.table, "C"), "sec");
    EXPECT_EQ(ValueOf(r.table, "GN"), "");
    EXPECT_EQ(ValueOf(r.table, "GC"), std::string(255, 'g'));
}

TEST(BinaryReader, DropsTheStringOfACodeWithoutName)
{
    CBinaryBuilder b;
    b.Header(1, 3).Kept(33, "dropped").Kept(0xFFFF, "also").Kept(23, "Alice");
    const TextResult r = ReadBinary(b);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.table.size(), 1u);
    EXPECT_EQ(ValueOf(r.table, "PB"), "Alice");
}

TEST(BinaryReader, ARecordWithoutContentsOrWithANegativeCountIsEmpty)
{
    for (std::int32_t contents : {0, -1, INT32_MIN}) {
        CBinaryBuilder b;
        b.Header(contents, 1).Kept(17, "never read");
        const TextResult r = ReadBinary(b);
        EXPECT_TRUE(r.ok) << contents;
        EXPECT_TRUE(r.table.empty()) << contents;
    }
    CBinaryBuilder b;
    b.Byte(6).U32(0);
    EXPECT_TRUE(ReadBinary(b).ok);

    CBinaryBuilder negative;
    negative.Header(1, INT32_MIN).Kept(17, "never read");
    const TextResult r = ReadBinary(negative);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.table.empty());
}

TEST(BinaryReader, ATornRecordFails)
{
    std::vector<CBinaryBuilder> torn(7);
    torn[0].Byte(6);
    torn[1].Byte(6).U32(1).Raw("short");
    torn[2].Header(1, 2).Kept(17, "Test");
    torn[3].Header(1, 1).Byte(17);
    torn[4].Header(1, 1).U16(17).Byte(10).Raw("cut");
    torn[5].Header(1, 1).U16(7).U16(500).Raw("only a few points");
    torn[6].Header(1, 1).U16(12).Points(0).U16(3).Short("one");
    for (std::size_t i = 0; i < torn.size(); ++i)
        EXPECT_FALSE(ReadBinary(torn[i]).ok) << i;
}

TEST(BinaryReader, AHugeCountEndsWithTheInput)
{
    CBinaryBuilder b;
    b.Header(1, INT32_MAX).Kept(17, "Test");
    const TextResult r = ReadBinary(b);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(ValueOf(r.table, "GN"), "Test");
}

TEST(BinaryReader, ReadsFilesTheSameAsMemory)
{
    CBinaryBuilder good;
    good.Header(1, 3).U16(7).Points(4).Kept(23, "Alice").U16(1).Raw("12345678");
    CBinaryBuilder torn;
    torn.Header(1, 2).Kept(23, "Alice").U16(7).Points(40);
    std::string tornBytes = torn.Bytes();
    tornBytes.resize(tornBytes.size() - 1);

    CTempDir dir;
    CRecordingHooks hooks;
    CPropertyTable table;
    EXPECT_TRUE(ReadBinaryRecord(dir.Write("good.bin", good.Bytes()), table, hooks));
    EXPECT_EQ(ValueOf(table, "PB"), "Alice");
    CPropertyTable tornTable;
    EXPECT_FALSE(ReadBinaryRecord(dir.Write("torn.bin", tornBytes), tornTable, hooks));
    EXPECT_FALSE(ReadBinaryRecord(std::string_view(tornBytes), tornTable));
    // Running out of bytes is not a file error.
    EXPECT_TRUE(hooks.m_errors.empty());
}

TEST(BinaryReader, AFileThatCannotBeOpenedOrReadIsReportedOnce)
{
    CTempDir dir;
    const std::string path = (dir.path() / "gone.sgf").string();
    CRecordingHooks hooks;
    CPropertyTable table;
    EXPECT_FALSE(ReadBinaryRecord(path, table, hooks));
    ASSERT_EQ(hooks.m_errors.size(), 1u);
    EXPECT_EQ(hooks.m_errors[0].rfind(path + ": ", 0), 0u);
    EXPECT_GT(hooks.m_errors[0].size(), path.size() + 2);

    // A directory opens but cannot be read.
    CRecordingHooks dirHooks;
    EXPECT_FALSE(ReadBinaryRecord(dir.path().string(), table, dirHooks));
    EXPECT_EQ(dirHooks.m_errors.size(), 1u);
}

TEST(GameFile, PipesAndDevicesAreNotGameFilesAndNeverBlock)
{
    CTempDir dir;
    const std::string fifo = (dir.path() / "pipe.sgf").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CPropertyTable table;
    EXPECT_FALSE(ReadGameFile(fifo, table));
    EXPECT_FALSE(ReadGameFile("/dev/zero", table));
    EXPECT_FALSE(ReadGameFile(dir.path().string(), table));
    EXPECT_TRUE(table.empty());
}

TEST(Corpus, RealGameRecordsYieldTheirPlayers)
{
    VARNEX_REQUIRE_CORPUS();
    CPropertyTable pro;
    ASSERT_TRUE(ReadGameFile((CorpusDir() / "ugoertz__kombilo/kombilo/tests/sgfs/1600JSTP06.sgf").string(), pro));
    EXPECT_EQ(ValueOf(pro, "PB"), "Sheng Dayou");
    EXPECT_EQ(ValueOf(pro, "PW"), "Wang Hannian");
    EXPECT_EQ(ValueOf(pro, "RE"), "W+");
    EXPECT_EQ(ValueOf(pro, "AB"), "dd");
    EXPECT_EQ(ValueOf(pro, "AW"), "pd");
    EXPECT_EQ(ValueOf(pro, ""), "dp");

    CPropertyTable longIds;
    ASSERT_TRUE(ReadGameFile((CorpusDir() / "sanderland__katrain/tests/data/xmgt97.sgf").string(), longIds));
    EXPECT_EQ(ValueOf(longIds, "PB"), "hi");
    EXPECT_EQ(ValueOf(longIds, "PW"), "ka");
    EXPECT_EQ(ValueOf(longIds, "KM"), "-1.5");
    EXPECT_EQ(ValueOf(longIds, "SZ"), "9");
}

TEST(Corpus, ARealRootOnlyRecordWithCrLfIsRead)
{
    VARNEX_REQUIRE_CORPUS();
    CPropertyTable table;
    ASSERT_TRUE(ReadGameFile((CorpusDir() / "runningskull__gnugo/regression/games/seki_nakade2.sgf").string(), table));
    EXPECT_EQ(ValueOf(table, "GN"), "seki1");
    EXPECT_EQ(ValueOf(table, "AP"), "Jago:Version 4.53");
    EXPECT_EQ(ValueOf(table, "AB"), "gb");
}

TEST(Corpus, EveryFileIsReadAndNearlyAllSucceed)
{
    VARNEX_REQUIRE_CORPUS();
    std::size_t files = 0;
    std::vector<std::string> failed;
    for (const auto& item : std::filesystem::recursive_directory_iterator(CorpusDir())) {
        if (!item.is_regular_file() || item.path().filename() == "SOURCES.md")
            continue;
        ++files;
        CPropertyTable table;
        if (!ReadGameFile(item.path().string(), table))
            failed.push_back(item.path().lexically_relative(CorpusDir()).string());
    }
    EXPECT_GT(files, 3000u);
    // Only damaged files fail: the empty one, the UTF-16 one, unterminated ones.
    EXPECT_LT(failed.size(), 20u);
    EXPECT_NE(std::find(failed.begin(), failed.end(), "runningskull__gnugo/regression/games/pending/nightmare.sgf"),
              failed.end());
    for (const std::string& name : failed)
        std::printf("not read: %s\n", name.c_str());
}

namespace {
enum class EPayload { Move, Points, Labels, Kept };

struct SCodeRow
{
    std::uint16_t code;
    const char* name;
    EPayload payload;
};

// The whole code table written out, so that a swap of two codes or a payload
// of the wrong size shows here.
constexpr SCodeRow kCodeTable[] = {
    {0, "", EPayload::Kept},      {1, "B", EPayload::Move},     {2, "W", EPayload::Move},
    {3, "C", EPayload::Kept},     {4, "N", EPayload::Kept},     {5, "BL", EPayload::Kept},
    {6, "WL", EPayload::Kept},    {7, "AB", EPayload::Points},  {8, "AW", EPayload::Points},
    {9, "AE", EPayload::Points},  {10, "PL", EPayload::Kept},   {11, "SZ", EPayload::Kept},
    {12, "LB", EPayload::Labels}, {13, "CR", EPayload::Points}, {14, "MA", EPayload::Points},
    {15, "SQ", EPayload::Points}, {16, "TR", EPayload::Points}, {17, "GN", EPayload::Kept},
    {18, "GC", EPayload::Kept},   {19, "EV", EPayload::Kept},   {20, "RO", EPayload::Kept},
    {21, "DT", EPayload::Kept},   {22, "PC", EPayload::Kept},   {23, "PB", EPayload::Kept},
    {24, "BR", EPayload::Kept},   {25, "PW", EPayload::Kept},   {26, "WR", EPayload::Kept},
    {27, "HA", EPayload::Kept},   {28, "TM", EPayload::Kept},   {29, "KM", EPayload::Kept},
    {30, "RE", EPayload::Kept},   {31, "US", EPayload::Kept},   {32, "SO", EPayload::Kept},
};
} // namespace

TEST(BinaryReader, EveryCodeHasItsNameAndPayload)
{
    static_assert(std::size(kCodeTable) == 33);
    for (const SCodeRow& row : kCodeTable) {
        // The record under test, then a marker string: a payload read with
        // the wrong size puts the marker out of step.
        CBinaryBuilder b;
        b.Header(1, 2).U16(row.code);
        switch (row.payload) {
        case EPayload::Move:
            b.Raw("\x03\x03\x03\x03\x03\x03\x03\x03");
            break;
        case EPayload::Points:
            b.U16(2).Raw(std::string(16, '\x03'));
            break;
        case EPayload::Labels:
            b.U16(1).Raw(std::string(8, '\x03')).U16(2).Short("lbl").Short("x");
            break;
        case EPayload::Kept:
            b.Short("value");
            break;
        }
        const bool markerIsC = row.code != 3;
        b.Kept(markerIsC ? 3 : 4, "marker");
        const TextResult r = ReadBinary(b);
        EXPECT_TRUE(r.ok) << "code " << row.code;
        std::vector<CPropertyTable::Item> expected;
        if (row.payload == EPayload::Kept)
            expected.emplace_back(row.name, "value");
        expected.emplace_back(markerIsC ? "C" : "N", "marker");
        EXPECT_EQ(r.table.Items(), expected) << "code " << row.code;
    }
}

TEST(BinaryReader, AShortStringTellsTheEmptyStringFromTheEndOfTheInput)
{
    const std::string bytes("\x00\x02"
                            "ab"
                            "\x03"
                            "c",
                            6);
    CByteSource source{std::string_view(bytes)};
    EXPECT_EQ(ReadShortString(source), std::optional<std::string>(""));
    EXPECT_EQ(ReadShortString(source), std::optional<std::string>("ab"));
    EXPECT_EQ(ReadShortString(source), std::nullopt) << "three bytes announced, one there";
    CByteSource empty{std::string_view()};
    EXPECT_EQ(ReadShortString(empty), std::nullopt);
}
