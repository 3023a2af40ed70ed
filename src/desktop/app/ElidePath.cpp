#include "desktop/app/ElidePath.h"

QString ElidePath(const QString& path, qsizetype maxChars)
{
    if (path.size() <= maxChars || maxChars < 3)
        return path;
    const QString ellipsis(QChar(0x2026));
    // The end says which file it is; it gets the larger share.
    const qsizetype head = (maxChars - 1) / 3;
    const qsizetype tail = maxChars - 1 - head;
    qsizetype start = path.size() - tail;
    // Never cut a surrogate pair in two.
    if (path.at(start).isLowSurrogate())
        ++start;
    qsizetype headEnd = head;
    if (headEnd > 0 && path.at(headEnd - 1).isHighSurrogate())
        --headEnd;
    return path.left(headEnd) + ellipsis + path.mid(start);
}
