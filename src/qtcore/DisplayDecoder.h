#pragma once

#include <QString>
#include <QStringDecoder>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Chooses one charset for the texts of a record and decodes them for display.
// The bytes themselves are never changed: sorting and export keep using them.
//
// The rule, for the whole record:
//   1. the charset the record names in CA, when Qt knows it (aliases and letter
//      case as people write them) and every text decodes without error;
//   2. UTF-8, when every text is valid UTF-8 (a text cut inside its last
//      character still counts when it also holds a whole multi-byte
//      character, or is as long as a cut we know: records written by
//      programs that cut names at a byte count are common, and the partial
//      character is not shown; a lone high byte at the end is far more often
//      a Latin-1 letter, as in "Jos\xE9");
//   3. for a record that names no charset Qt knows, the charset the user
//      chose for such records (SetNoneCharset), when every text decodes;
//   4. the charset ICU's detector names, when its confidence reaches
//      kMinDetectConfidence and every text decodes without error;
//   5. the charset most records of the record's folder were decided in with
//      confidence (named in CA, or detected), when every text decodes:
//      files from one source share one charset, and short names give the
//      detector too little to go on;
//   6. Latin-1, which decodes anything.
// A failed strict decode falls through to the next step, so a CA that lies
// (UTF-8 bytes marked gb2312) still shows readable text.
struct UCharsetDetector;

class CDisplayDecoder
{
public:
    CDisplayDecoder();
    ~CDisplayDecoder();

    // On the real records we measured (varnex-bench-decode) every guess that
    // showed a record rightly scored 33 or more, GB18030 names above 90; the
    // guesses below 30 were Latin charsets for CJK bytes, no better than Latin-1.
    static constexpr int kMinDetectConfidence = 30;

    enum class ERule { Ascii, Declared, Utf8, Chosen, Detected, Folder, Latin1 };

    struct SChoice
    {
        ERule rule = ERule::Ascii;
        std::string charset; // for Declared and Detected: the decoder's name
    };

    // Decides how the texts of one record decode; ca is its CA value, folder
    // the folder its file is in (empty: no folder to learn from).
    SChoice Choose(const std::vector<std::string_view>& texts, std::string_view ca, std::string_view folder = {});

    // Counts a record's choice towards its folder's charset (only choices
    // made with confidence count). Each record is noted once.
    void NoteFolderChoice(std::string_view folder, const SChoice& choice);
    // Forgets what was learnt of folders.
    void ForgetFolders() { m_folderVotes.clear(); }

    // The charset for records that name none, or empty for automatic; a
    // name Qt does not know counts as automatic.
    void SetNoneCharset(std::string_view charset);
    const std::string& NoneCharset() const { return m_noneCharset; }

    // One text decoded by a choice; a leading UTF-8 byte-order mark is dropped.
    QString Decode(std::string_view text, const SChoice& choice);

    // Choose, then decode every text.
    std::vector<QString> DecodeAll(const std::vector<std::string_view>& texts, std::string_view ca);

    // The decoder name for a CA value, or empty when Qt knows no such charset.
    static std::string CharsetForDeclared(std::string_view ca);

    // The confidence of the detector's last guess, for measuring.
    int LastConfidence() const { return m_lastConfidence; }

private:
    // A strict decode: false when any text has a byte sequence the charset lacks.
    bool DecodesCleanly(const std::vector<std::string_view>& texts, const std::string& charset);
    QStringDecoder* DecoderFor(const std::string& charset);
    // CharsetForDeclared, remembered for each CA value met.
    const std::string& DeclaredCharset(std::string_view ca);
    std::string Detect(const std::vector<std::string_view>& texts);
    // The charset most of the folder's confident choices named, or empty.
    std::string FolderCharset(std::string_view folder) const;

    struct SDetectorDeleter
    {
        void operator()(UCharsetDetector* detector) const;
    };

    // Opening an ICU converter or detector costs far more than decoding a
    // name, so one decoder per charset, the answer for each CA value (asking
    // Qt opens a converter) and one detector are kept for the life of this
    // object; a collection holds few distinct charsets.
    std::map<std::string, QStringDecoder, std::less<>> m_decoders;
    std::map<std::string, std::string, std::less<>> m_declared;
    std::unique_ptr<UCharsetDetector, SDetectorDeleter> m_detector;
    bool m_detectorFailed = false;
    std::string m_noneCharset;
    // Per folder, how many records were decided in each charset.
    std::map<std::string, std::map<std::string, int>, std::less<>> m_folderVotes;
    int m_lastConfidence = -1;
};

// Valid UTF-8 throughout (overlong forms and surrogates refused).
bool IsValidUtf8(std::string_view bytes);
// The bytes of an incomplete last character of otherwise valid UTF-8 (0 when
// the text is whole), or npos when the text is not UTF-8.
std::size_t Utf8CutTail(std::string_view bytes);
// Whether the text counts as UTF-8 for display: valid, or cut inside its
// last character where the rest shows it is UTF-8 (a whole multi-byte
// character before the cut) or its length is one a writer cuts at.
bool IsUtf8OrCutUtf8(std::string_view bytes);
