#include "desktop/view/FontRecordQt.h"

#include "qtcore/ByteText.h"

#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The em height of a font whose cell height is given: the cell holds the
// internal leading as well.
constexpr double kEmPerCell = 0.8;
constexpr int kMaxPixelSize = 1000;

} // namespace

QFont FontFromRecord(const CLogFontRecord& record, const QFont& base)
{
    QFont font(base);
    const std::string face = record.FaceName();
    if (!face.empty())
        font.setFamilies(QStringList{BytesToDisplayText(face)});
    if (record.lfHeight < 0) {
        const std::int64_t em = -static_cast<std::int64_t>(record.lfHeight);
        font.setPixelSize(static_cast<int>(std::clamp<std::int64_t>(em, 1, kMaxPixelSize)));
    } else if (record.lfHeight > 0) {
        const int em = static_cast<int>(std::lround(record.lfHeight * kEmPerCell));
        font.setPixelSize(std::clamp(em, 1, kMaxPixelSize));
    }
    // Weight 0 means "don't care": the normal weight.
    const int weight = record.lfWeight <= 0 ? 400 : std::clamp(record.lfWeight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(record.lfItalic != 0);
    font.setUnderline(record.lfUnderline != 0);
    font.setStrikeOut(record.lfStrikeOut != 0);
    return font;
}

CLogFontRecord RecordFromFont(const QFont& font)
{
    CLogFontRecord record;
    int pixels = font.pixelSize();
    if (pixels <= 0)
        pixels = QFontInfo(font).pixelSize();
    record.lfHeight = -std::max(pixels, 1);
    record.lfWeight = static_cast<std::int32_t>(font.weight());
    record.lfItalic = font.italic() ? 1 : 0;
    record.lfUnderline = font.underline() ? 1 : 0;
    record.lfStrikeOut = font.strikeOut() ? 1 : 0;
    // DEFAULT_CHARSET: the face decides.
    record.lfCharSet = 1;
    const QStringList families = font.families();
    const QString family = families.isEmpty() ? font.family() : families.first();
    const QByteArray name = family.toUtf8();
    record.SetFaceName(std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    return record;
}
