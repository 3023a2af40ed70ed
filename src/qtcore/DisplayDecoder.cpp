#include "qtcore/DisplayDecoder.h"

#include "util/AsciiFold.h"

#include <unicode/ucsdet.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string_view WithoutBom(std::string_view text)
{
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        text.remove_prefix(kUtf8Bom.size());
    return text;
}

std::string Folded(std::string_view ca)
{
    while (!ca.empty() && std::isspace(static_cast<unsigned char>(ca.front())))
        ca.remove_prefix(1);
    while (!ca.empty() && std::isspace(static_cast<unsigned char>(ca.back())))
        ca.remove_suffix(1);
    std::string folded(ca);
    AsciiLowerInPlace(folded);
    return folded;
}

// Spellings seen in real records that ICU's alias table does not carry.
constexpr std::pair<std::string_view, std::string_view> kExtraAliases[] = {
    {"utf-8n", "UTF-8"},   {"sjis", "Shift_JIS"},     {"shift-jis", "Shift_JIS"}, {"s-jis", "Shift_JIS"},
    {"gb-2312", "GB2312"}, {"gb 2312", "GB2312"},     {"euckr", "EUC-KR"},        {"cp949", "windows-949"},
    {"big-5", "Big5"},     {"latin-1", "ISO-8859-1"},
};

// Qt's ICU converters do not always report a byte sequence the charset
// lacks: some give U+001A or U+FFFD, the CJK ones pass bytes 0x80-0x9F
// through as C1 controls. None of these belongs in a name.
bool LooksDecoded(const QString& decoded, std::string_view bytes)
{
    const bool hadSub = bytes.find('\x1A') != std::string_view::npos;
    for (QChar c : decoded) {
        const char16_t u = c.unicode();
        if (u == QChar::ReplacementCharacter || (u >= 0x80 && u <= 0x9F) || (u == 0x1A && !hadSub))
            return false;
    }
    return true;
}

// The record reader keeps bytes as they stand in a text file, so a text in
// a 16- or 32-bit form never reaches here whole; the detector names these
// for stray byte-order marks.
bool IsWideCharset(std::string_view name)
{
    return name.substr(0, 6) == "UTF-16" || name.substr(0, 6) == "UTF-32";
}

} // namespace

std::size_t Utf8ValidPrefix(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            length = 2, code = b0 & 0x1Fu, minimum = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            length = 3, code = b0 & 0x0Fu, minimum = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            length = 4, code = b0 & 0x07u, minimum = 0x10000;
        } else {
            return i;
        }
        if (bytes.size() - i < length)
            return i;
        for (std::size_t k = 1; k < length; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + k]);
            if ((b & 0xC0u) != 0x80u)
                return i;
            code = (code << 6) | (b & 0x3Fu);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return i;
}

bool IsValidUtf8(std::string_view bytes)
{
    return Utf8ValidPrefix(bytes) == bytes.size();
}

std::size_t Utf8CutTail(std::string_view bytes)
{
    const std::size_t valid = Utf8ValidPrefix(bytes);
    const std::size_t rest = bytes.size() - valid;
    if (rest == 0 || rest > 3)
        return rest == 0 ? 0 : std::string_view::npos;
    const auto lead = static_cast<unsigned char>(bytes[valid]);
    const std::size_t wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (wanted <= rest)
        return std::string_view::npos;
    for (std::size_t k = valid + 1; k < bytes.size(); ++k)
        if ((static_cast<unsigned char>(bytes[k]) & 0xC0u) != 0x80u)
            return std::string_view::npos;
    return rest;
}

bool IsUtf8OrCutUtf8(std::string_view bytes)
{
    const std::size_t cut = Utf8CutTail(bytes);
    if (cut == 0)
        return true;
    if (cut == std::string_view::npos)
        return false;
    // The longest value of the binary form: a writer that fills it cuts
    // wherever the byte count ends.
    constexpr std::size_t kKnownCutLengths[] = {255};
    for (const std::size_t length : kKnownCutLengths)
        if (bytes.size() == length)
            return true;
    const std::string_view whole = bytes.substr(0, bytes.size() - cut);
    return std::any_of(whole.begin(), whole.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string CDisplayDecoder::CharsetForDeclared(std::string_view ca)
{
    std::string name = Folded(ca);
    if (name.empty())
        return {};
    for (const auto& [alias, charset] : kExtraAliases)
        if (name == alias)
            name = charset;
    const QStringDecoder decoder(name.c_str(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return {};
    return name;
}

CDisplayDecoder::CDisplayDecoder() = default;
CDisplayDecoder::~CDisplayDecoder() = default;

void CDisplayDecoder::SDetectorDeleter::operator()(UCharsetDetector* detector) const
{
    ucsdet_close(detector);
}

const std::string& CDisplayDecoder::DeclaredCharset(std::string_view ca)
{
    auto it = m_declared.find(ca);
    if (it == m_declared.end())
        it = m_declared.emplace(std::string(ca), CharsetForDeclared(ca)).first;
    return it->second;
}

QStringDecoder* CDisplayDecoder::DecoderFor(const std::string& charset)
{
    auto it = m_decoders.find(charset);
    if (it == m_decoders.end())
        it = m_decoders.emplace(charset, QStringDecoder(charset.c_str(), QStringConverter::Flag::Stateless)).first;
    return it->second.isValid() ? &it->second : nullptr;
}

bool CDisplayDecoder::DecodesCleanly(const std::vector<std::string_view>& texts, const std::string& charset)
{
    QStringDecoder* decoder = DecoderFor(charset);
    if (!decoder)
        return false;
    for (std::string_view text : texts) {
        decoder->resetState();
        const QString decoded = decoder->decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
        if (decoder->hasError() || !LooksDecoded(decoded, text)) {
            // An ICU decoder that met bytes its charset lacks stays in error
            // through resetState(), and would fail the next record's good
            // bytes too; the next use opens a fresh one.
            m_decoders.erase(charset);
            return false;
        }
    }
    return true;
}

std::string CDisplayDecoder::Detect(const std::vector<std::string_view>& texts)
{
    // The detector sees the texts as one run, a blank between them, so that
    // a name split over cells still counts as one sample.
    std::string sample;
    for (std::string_view text : texts) {
        if (IsAscii(text))
            continue;
        sample.append(text);
        sample.push_back(' ');
    }
    if (sample.empty())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    if (!m_detector && !m_detectorFailed) {
        m_detector.reset(ucsdet_open(&status));
        m_detectorFailed = U_FAILURE(status) || !m_detector;
        if (m_detectorFailed)
            m_detector.reset();
        status = U_ZERO_ERROR;
    }
    if (!m_detector)
        return {};
    // The detector keeps no state between texts but the text it was given.
    ucsdet_setText(m_detector.get(), sample.data(), static_cast<int32_t>(sample.size()), &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(m_detector.get(), &count, &status);
    if (U_FAILURE(status) || !matches)
        return {};
    // Best first; the first that is not a wide form decides.
    for (int32_t i = 0; i < count; ++i) {
        const int confidence = ucsdet_getConfidence(matches[i], &status);
        const char* name = ucsdet_getName(matches[i], &status);
        if (U_FAILURE(status) || !name)
            return {};
        if (IsWideCharset(name))
            continue;
        m_lastConfidence = confidence;
        if (confidence < kMinDetectConfidence)
            return {};
        return name;
    }
    return {};
}

CDisplayDecoder::SChoice CDisplayDecoder::Choose(const std::vector<std::string_view>& texts, std::string_view ca,
                                                 std::string_view folder)
{
    if (std::all_of(texts.begin(), texts.end(), IsAscii))
        return {ERule::Ascii, {}};
    const std::string& declared = DeclaredCharset(ca);
    if (!declared.empty() && DecodesCleanly(texts, declared))
        return {ERule::Declared, declared};
    if (std::all_of(texts.begin(), texts.end(), IsUtf8OrCutUtf8))
        return {ERule::Utf8, {}};
    // Valid UTF-8 comes first even so: a legacy charset such as GB18030
    // decodes nearly any bytes, UTF-8 ones too.
    if (declared.empty() && !m_noneCharset.empty() && DecodesCleanly(texts, m_noneCharset))
        return {ERule::Chosen, m_noneCharset};
    if (const std::string detected = Detect(texts); !detected.empty() && DecodesCleanly(texts, detected))
        return {ERule::Detected, detected};
    if (const std::string inFolder = FolderCharset(folder); !inFolder.empty() && DecodesCleanly(texts, inFolder))
        return {ERule::Folder, inFolder};
    return {ERule::Latin1, {}};
}

void CDisplayDecoder::NoteFolderChoice(std::string_view folder, const SChoice& choice)
{
    if (folder.empty() || (choice.rule != ERule::Declared && choice.rule != ERule::Detected))
        return;
    auto it = m_folderVotes.find(folder);
    if (it == m_folderVotes.end())
        it = m_folderVotes.emplace(std::string(folder), std::map<std::string, int>()).first;
    ++it->second[choice.charset];
}

std::string CDisplayDecoder::FolderCharset(std::string_view folder) const
{
    const auto it = m_folderVotes.find(folder);
    if (folder.empty() || it == m_folderVotes.end())
        return {};
    std::string best;
    int most = 0;
    for (const auto& [charset, count] : it->second) {
        if (count > most) {
            best = charset;
            most = count;
        }
    }
    return best;
}

void CDisplayDecoder::SetNoneCharset(std::string_view charset)
{
    m_noneCharset = CharsetForDeclared(charset);
}

QString CDisplayDecoder::Decode(std::string_view text, const SChoice& choice)
{
    switch (choice.rule) {
    case ERule::Ascii:
    case ERule::Latin1:
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    case ERule::Utf8:
        text = WithoutBom(text);
        if (const std::size_t cut = Utf8CutTail(text); cut != std::string_view::npos)
            text.remove_suffix(cut);
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    case ERule::Declared:
    case ERule::Chosen:
    case ERule::Detected:
    case ERule::Folder:
        break;
    }
    QStringDecoder* decoder = DecoderFor(choice.charset);
    if (!decoder)
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    // Some of ICU's converters have no name to give (LMBCS-2, for one).
    if (const char* name = decoder->name(); name && std::string_view(name) == "UTF-8")
        text = WithoutBom(text);
    decoder->resetState();
    return decoder->decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

std::vector<QString> CDisplayDecoder::DecodeAll(const std::vector<std::string_view>& texts, std::string_view ca)
{
    const SChoice choice = Choose(texts, ca);
    std::vector<QString> decoded;
    decoded.reserve(texts.size());
    for (std::string_view text : texts)
        decoded.push_back(Decode(text, choice));
    return decoded;
}
