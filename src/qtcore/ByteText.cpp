#include "qtcore/ByteText.h"

#include <QFile>

namespace {

// Length of the valid UTF-8 sequence starting at bytes[i], or 0.
std::size_t ValidSequenceLength(std::string_view bytes, std::size_t i)
{
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    std::uint32_t code = 0;
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        code = b0 & 0x1Fu;
        minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        code = b0 & 0x0Fu;
        minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        code = b0 & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() - i < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (b & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString BytesToDisplayText(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    std::size_t start = 0; // start of the pending valid run
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = ValidSequenceLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(bytes.data() + start, static_cast<qsizetype>(i - start));
        text += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i])));
        ++i;
        start = i;
    }
    text += QString::fromUtf8(bytes.data() + start, static_cast<qsizetype>(i - start));
    return text;
}

std::string PathToBytes(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString BytesToPath(std::string_view bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
