#include "collection/CollectionFile.h"

#include "collection/VarnexDoc.h"
#include "files/ResolvedPath.h"
#include "files/SafeFileWrite.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>
#include <unordered_set>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void AppendU16(std::string& out, std::uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void AppendU32(std::string& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

class CWaitCursor
{
public:
    explicit CWaitCursor(IDocHost& host) : m_host(host) { m_host.BeginWaitCursor(); }
    ~CWaitCursor() { m_host.EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    IDocHost& m_host;
};

// Reads the collection's values from bytes in memory. Every read checks the
// bytes that are left first; nothing is sized by a count from the file.
class CByteReader
{
public:
    explicit CByteReader(std::string_view bytes) : m_bytes(bytes) {}

    std::size_t Left() const { return m_bytes.size() - m_pos; }

    std::optional<std::uint32_t> ReadLE(std::size_t size)
    {
        if (Left() < size)
            return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_bytes[m_pos + i])) << (8 * i);
        m_pos += size;
        return value;
    }

    std::optional<std::string_view> Take(std::uint64_t size)
    {
        if (Left() < size)
            return std::nullopt;
        const std::string_view part = m_bytes.substr(m_pos, static_cast<std::size_t>(size));
        m_pos += static_cast<std::size_t>(size);
        return part;
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

struct CStringLength
{
    std::uint32_t length = 0;
    bool wide = false; // the text is UTF-16LE and length counts 16-bit units
};

// One byte below 0xFF; else 0xFF and a 16-bit value below 0xFFFF; else
// 0xFF 0xFFFF and a 32-bit value. The 16-bit value 0xFFFE in the first prefix
// marks 16-bit text, whose own length prefix follows.
std::optional<CStringLength> ReadStringLength(CByteReader& in)
{
    CStringLength result;
    auto byte = in.ReadLE(1);
    if (!byte)
        return std::nullopt;
    if (*byte < 0xFF) {
        result.length = *byte;
        return result;
    }
    auto word = in.ReadLE(2);
    if (!word)
        return std::nullopt;
    if (*word == 0xFFFE) {
        result.wide = true;
        byte = in.ReadLE(1);
        if (!byte)
            return std::nullopt;
        if (*byte < 0xFF) {
            result.length = *byte;
            return result;
        }
        word = in.ReadLE(2);
        if (!word)
            return std::nullopt;
    }
    if (*word < 0xFFFF) {
        result.length = *word;
        return result;
    }
    const auto dword = in.ReadLE(4);
    if (!dword)
        return std::nullopt;
    result.length = *dword;
    return result;
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Paths are kept as the bytes the file system uses, UTF-8 here. A surrogate
// without its partner becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

std::optional<std::string> ReadCollectionString(CByteReader& in)
{
    const auto length = ReadStringLength(in);
    if (!length)
        return std::nullopt;
    const std::uint64_t size = length->wide ? 2 * static_cast<std::uint64_t>(length->length) : length->length;
    const auto text = in.Take(size);
    if (!text)
        return std::nullopt;
    if (length->wide)
        return Utf16LeToUtf8(*text);
    return std::string(*text);
}

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

std::string ErrnoText(int code)
{
    return std::error_code(code, std::generic_category()).message();
}

} // namespace

void AppendCollectionString(std::string& out, std::string_view text)
{
    const std::size_t length = text.size();
    if (length < 255) {
        out.push_back(static_cast<char>(length));
    } else if (length < 0xFFFE) {
        out.push_back(static_cast<char>(0xFF));
        AppendU16(out, static_cast<std::uint16_t>(length));
    } else {
        out.push_back(static_cast<char>(0xFF));
        AppendU16(out, 0xFFFF);
        // A path never comes near 4 GB; a longer text is cut rather than
        // written with a length that does not match its bytes.
        const std::size_t stored = std::min<std::size_t>(length, 0xFFFFFFFFu);
        AppendU32(out, static_cast<std::uint32_t>(stored));
        text = text.substr(0, stored);
    }
    out.append(text);
}

std::string StoreCollection(const CVarnexDoc& doc)
{
    // Unread records go after the path table's; one whose path was added
    // again since is already among those.
    std::vector<const CUnreadEntry*> unread;
    unread.reserve(doc.m_unread.size());
    for (const CUnreadEntry& entry : doc.m_unread)
        if (!doc.m_mapFiles.Find(entry.path))
            unread.push_back(&entry);

    std::string out;
    AppendU32(out, static_cast<std::uint32_t>(kCollectionVersionMark));
    AppendU32(out, static_cast<std::uint32_t>(doc.m_mapFiles.size() + unread.size()));
    CWaitCursor wait(doc.Host());
    doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
        AppendCollectionString(out, path);
        AppendU32(out, entry.m_nFlags);
    });
    for (const CUnreadEntry* entry : unread) {
        AppendCollectionString(out, entry->path);
        AppendU32(out, entry->flags);
    }
    return out;
}

namespace {

// A stored path that is neither absolute here nor a drive or network path of
// another system is taken from the folder the collection stands in, not
// from the current folder of the moment (which the program changes).
std::string ResolveStoredPath(const std::string& stored, const std::filesystem::path& folder)
{
    if (stored.empty() || stored[0] == '/' || stored[0] == '\\' || (stored.size() >= 2 && stored[1] == ':'))
        return stored;
    return ResolvedAbsolutePath((folder / stored).string());
}

// Every record of the bytes, or the reason they are not a collection file.
// Nothing is added until the whole file has been checked, so a file that is
// something else never reads a game file or empties anything.
ECollectionLoad ParseCollection(std::string_view bytes, std::vector<CUnreadEntry>& records)
{
    CByteReader in(bytes);
    const auto first = in.ReadLE(4);
    if (!first)
        return ECollectionLoad::Truncated;
    // Any negative first value is a version mark: the records carry flags.
    const bool withFlags = static_cast<std::int32_t>(*first) < 0;
    std::int32_t count = static_cast<std::int32_t>(*first);
    if (withFlags) {
        const auto n = in.ReadLE(4);
        if (!n)
            return ECollectionLoad::Truncated;
        count = static_cast<std::int32_t>(*n);
    }
    // The program never writes a negative count: such bytes are something else.
    if (count < 0)
        return ECollectionLoad::NotCollection;
    // Each record takes at least one byte (and four more with flags).
    const std::size_t smallest = withFlags ? 5 : 1;
    records.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), in.Left() / smallest));
    for (std::int32_t i = 0; i < count; ++i) {
        auto path = ReadCollectionString(in);
        if (!path)
            return ECollectionLoad::Truncated;
        std::uint32_t flags = 0;
        if (withFlags) {
            const auto stored = in.ReadLE(4);
            if (!stored)
                return ECollectionLoad::Truncated;
            flags = *stored;
        }
        records.push_back({std::move(*path), flags});
    }
    // The program writes nothing after the last record.
    if (in.Left() > 0)
        return ECollectionLoad::NotCollection;
    return ECollectionLoad::Ok;
}

// Whether the bytes begin as the program's files begin: with the version
// mark (or a cut copy of it), or in the older form with a record count the
// bytes could hold, each record taking at least one byte. Only such a file
// can be a collection cut short; a game record's first four bytes, read as a
// count, announce hundreds of millions of records.
bool StartsLikeCollection(std::string_view bytes)
{
    std::string mark;
    AppendU32(mark, static_cast<std::uint32_t>(kCollectionVersionMark));
    if (bytes.size() < mark.size())
        return mark.compare(0, bytes.size(), bytes) == 0;
    const std::int32_t first = static_cast<std::int32_t>(*CByteReader(bytes).ReadLE(4));
    if (first == kCollectionVersionMark)
        return true;
    // Another negative value is taken for a mark only in a complete file.
    if (first < 0)
        return false;
    return static_cast<std::size_t>(first) <= bytes.size() - mark.size();
}

// As LoadCollectionChecked; with clearFirst the document is emptied once the
// bytes have proved to be a whole collection, so other bytes leave it as it was.
ECollectionLoad LoadRecords(CVarnexDoc& doc, std::string_view bytes, SAddSummary* summary, const std::string& folder,
                            bool clearFirst, std::shared_ptr<CHeaderCache> cache = nullptr)
{
    std::vector<CUnreadEntry> records;
    ECollectionLoad parsed = ParseCollection(bytes, records);
    if (parsed == ECollectionLoad::Truncated && !StartsLikeCollection(bytes))
        parsed = ECollectionLoad::NotCollection;
    if (parsed != ECollectionLoad::Ok)
        return parsed;
    if (!folder.empty())
        for (CUnreadEntry& record : records)
            record.path = ResolveStoredPath(record.path, folder);
    if (clearFirst) {
        doc.DeleteContents();
        if (cache)
            doc.SetHeaderCache(std::move(cache));
    }

    CHintPayload payload;
    payload.count = static_cast<std::int32_t>(records.size());
    doc.UpdateAllViews(hintLoadCount, payload);

    SAddSummary counted;
    counted.total = records.size();
    std::unordered_set<std::string> unreadPaths;
    // Kept once, in stored order; a repeated path is dropped, as it always was.
    auto keepUnread = [&](CUnreadEntry& record) {
        if (!doc.m_mapFiles.Find(record.path) && unreadPaths.insert(record.path).second)
            doc.m_unread.push_back(std::move(record));
    };
    auto pathOf = [](const CUnreadEntry& record) -> const std::string& { return record.path; };
    counted.done = doc.ReadEach(records, pathOf, false, true, [&](CUnreadEntry& record, CVarnexDoc::SReadStep& step) {
        switch (step.outcome) {
        case CVarnexDoc::EReadOutcome::Read:
            step.fresh->m_nFlags = record.flags;
            doc.InsertEntry(record.path, std::move(step.fresh));
            doc.SetModifiedFlag();
            ++counted.added;
            break;
        case CVarnexDoc::EReadOutcome::Unreadable:
            ++counted.unreadable;
            keepUnread(record);
            break;
        case CVarnexDoc::EReadOutcome::NotAsAsked:
        case CVarnexDoc::EReadOutcome::Overtaken:
            ++counted.alreadyPresent;
            break;
        }
    });
    // Like a batch of additions the load stops after the file being read
    // when asked; the records not read yet are kept as unread ones, so a
    // save writes them again and nothing is lost.
    counted.stopped = counted.done < records.size();
    for (std::size_t i = counted.done; i < records.size(); ++i) {
        records[i].tried = false;
        keepUnread(records[i]);
    }

    doc.UpdateAllViews(hintBatchDone);
    if (summary)
        *summary = counted;
    return ECollectionLoad::Ok;
}

} // namespace

ECollectionLoad LoadCollectionChecked(CVarnexDoc& doc, std::string_view bytes, SAddSummary* summary,
                                      const std::string& folder)
{
    return LoadRecords(doc, bytes, summary, folder, false);
}

bool LoadCollection(CVarnexDoc& doc, std::string_view bytes)
{
    return LoadCollectionChecked(doc, bytes) == ECollectionLoad::Ok;
}

bool SaveCollectionFile(const CVarnexDoc& doc, const std::string& path, std::string* error)
{
    return WriteFileSafely(path, StoreCollection(doc), error);
}

namespace {

// Opens the file without waiting: a pipe opened for reading would wait for a
// writer. Anything but a regular file is refused, and so is a size no
// collection comes near, before a byte is read. -1 with the reason otherwise.
int OpenCollectionInput(const std::string& path, std::uint64_t& size, std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "Cannot open " + path + ": " + ErrnoText(errno));
        return -1;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0) {
        SetError(error, "Cannot open " + path + ": " + ErrnoText(errno));
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        SetError(error, path + " is not a regular file, so it is no collection file.");
        ::close(fd);
        return -1;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    if (size > kMaxCollectionBytes) {
        SetError(error, path + " is too large to be a collection file.");
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool CanOpenCollectionFile(const std::string& path, std::string* error)
{
    std::uint64_t size = 0;
    const int fd = OpenCollectionInput(path, size, error);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

namespace {

bool LoadFile(CVarnexDoc& doc, const std::string& path, std::string* error, SAddSummary* summary, bool clearFirst,
              std::shared_ptr<CHeaderCache> cache = nullptr)
{
    std::uint64_t size = 0;
    const int fd = OpenCollectionInput(path, size, error);
    if (fd < 0)
        return false;
    std::string bytes;
    bool failed = false;
    int readErrno = 0;
    try {
        // Only the size seen at the open is read: a file that grows while
        // it is read is not followed.
        bytes.resize(static_cast<std::size_t>(size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t part = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (part < 0 && errno == EINTR)
                continue;
            if (part < 0) {
                failed = true;
                readErrno = errno;
                break;
            }
            if (part == 0)
                break;
            got += static_cast<std::size_t>(part);
        }
        bytes.resize(got);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        SetError(error, "There is not enough memory to read " + path + ".");
        return false;
    }
    ::close(fd);
    if (failed) {
        SetError(error, "Cannot read " + path + ": " + ErrnoText(readErrno));
        return false;
    }
    if (bytes.empty()) {
        if (clearFirst) {
            doc.DeleteContents();
            if (cache)
                doc.SetHeaderCache(std::move(cache));
        }
        return true;
    }
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(path, ec).parent_path();
    ECollectionLoad loaded = ECollectionLoad::Ok;
    try {
        loaded = LoadRecords(doc, bytes, summary, folder.string(), clearFirst, std::move(cache));
    } catch (const std::bad_alloc&) {
        doc.DeleteContents();
        SetError(error, "There is not enough memory to read " + path + ".");
        return false;
    }
    switch (loaded) {
    case ECollectionLoad::Ok:
        break;
    case ECollectionLoad::Truncated:
        SetError(error, path + " is not a complete collection file: it ends in the middle of a record.");
        return false;
    case ECollectionLoad::NotCollection:
        SetError(error, path + " is not a Varnex collection file.");
        return false;
    }
    return true;
}

} // namespace

bool LoadCollectionFile(CVarnexDoc& doc, const std::string& path, std::string* error, SAddSummary* summary)
{
    return LoadFile(doc, path, error, summary, false);
}

bool OpenCollectionFile(CVarnexDoc& doc, const std::string& path, std::string* error, SAddSummary* summary,
                        std::shared_ptr<CHeaderCache> cache)
{
    return LoadFile(doc, path, error, summary, true, std::move(cache));
}
