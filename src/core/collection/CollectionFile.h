#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CHeaderCache;
class CVarnexDoc;
struct SAddSummary;

// The collection file: version mark -108, the record count, then each record
// as a path and the entry's flags word. The older form without mark and flags
// is read too. All integers little-endian.
constexpr std::int32_t kCollectionVersionMark = -108;

// A larger file is refused before it is read: ten million games with long
// paths stay far below it, and the whole file is held in memory while it is
// checked.
constexpr std::uint64_t kMaxCollectionBytes = std::uint64_t{1} << 30;

// The bytes of the current form for the document's entries, in enumeration order.
std::string StoreCollection(const CVarnexDoc& doc);

enum class ECollectionLoad {
    Ok,
    Truncated,     // the bytes end in the middle of a value
    NotCollection, // bytes that do not start like a collection file, a negative
                   // record count, or bytes after the last record
};

// Adds every record of bytes to the (cleared) document through AddGameFile,
// with hintLoadCount before and hintBatchDone after. The whole file is
// checked first: when it is not a complete collection nothing is added.
// Records whose game files cannot be read are kept in the document's
// m_unread, in their stored order (a repeated path once). The host can stop
// the load after any file (IDocHost::StopRequested): the records not read
// yet go to m_unread too, which keeps the stored order. summary, when
// given, counts the records: done of total taken in hand, added, already
// present (a repeated path), unreadable, and whether the load was stopped.
// folder, when given, is where the collection file stands: stored relative
// paths are taken from there.
ECollectionLoad LoadCollectionChecked(CVarnexDoc& doc, std::string_view bytes, SAddSummary* summary = nullptr,
                                      const std::string& folder = {});
bool LoadCollection(CVarnexDoc& doc, std::string_view bytes);

// Writes the collection to path as WriteFileSafely does: the old file is
// replaced only once the new one is complete, and only when it is a regular
// file. On failure the old file is untouched and error says why.
bool SaveCollectionFile(const CVarnexDoc& doc, const std::string& path, std::string* error = nullptr);

// Reads the file at path into the document: an empty file is an empty
// collection. The file is opened without waiting and must be a regular file
// of at most kMaxCollectionBytes; only the size seen at the open is read.
// Stored relative paths are taken from the file's folder. False (with a
// reason) when it cannot be read, is no regular file, is too large, is cut
// short, is not a collection file ("... is not a Varnex collection file.")
// or does not fit in memory. summary as for LoadCollectionChecked; an empty
// file leaves it as it was.
bool LoadCollectionFile(CVarnexDoc& doc, const std::string& path, std::string* error = nullptr,
                        SAddSummary* summary = nullptr);

// Whether the file at path can be opened as a collection (see
// LoadCollectionFile) without reading it; false with the reason.
bool CanOpenCollectionFile(const std::string& path, std::string* error = nullptr);

// As LoadCollectionFile, for a document that holds another collection: it is
// cleared only once the whole file has been read and checked, so a file that
// cannot be opened leaves the document as it was.
// cache, when given, serves the new collection's reads.
bool OpenCollectionFile(CVarnexDoc& doc, const std::string& path, std::string* error = nullptr,
                        SAddSummary* summary = nullptr, std::shared_ptr<CHeaderCache> cache = nullptr);

// Appends a string in the collection file's length-prefixed form.
void AppendCollectionString(std::string& out, std::string_view text);
