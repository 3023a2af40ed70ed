#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CVarnexDoc;
struct SAddSummary;

// The collection file: version mark -108, the record count, then each record
// as a path and the entry's flags word. The older form without mark and flags
// is read too. All integers little-endian.
constexpr std::int32_t kCollectionVersionMark = -108;

// The bytes of the current form for the document's entries, in enumeration order.
std::string StoreCollection(const CVarnexDoc& doc);

enum class ECollectionLoad
{
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
ECollectionLoad LoadCollectionChecked(CVarnexDoc& doc, std::string_view bytes, SAddSummary* summary = nullptr);
bool LoadCollection(CVarnexDoc& doc, std::string_view bytes);

// Writes the collection to path without ever destroying the previous file:
// the bytes go to a temporary file in the same folder, which replaces the old
// one only when every byte is written. On failure the old file is untouched.
bool SaveCollectionFile(const CVarnexDoc& doc, const std::string& path, std::string* error = nullptr);

// Reads the file at path into the document: an empty file is an empty
// collection. False (with a reason) when it cannot be read, is cut short or
// is not a collection file ("... is not a Varnex collection file.").
// summary as for LoadCollectionChecked; an empty file leaves it as it was.
bool LoadCollectionFile(CVarnexDoc& doc, const std::string& path, std::string* error = nullptr,
                        SAddSummary* summary = nullptr);

// As LoadCollectionFile, for a document that holds another collection: it is
// cleared only once the whole file has been read and checked, so a file that
// cannot be opened leaves the document as it was.
bool OpenCollectionFile(CVarnexDoc& doc, const std::string& path, std::string* error = nullptr,
                        SAddSummary* summary = nullptr);

// Appends a string in the collection file's length-prefixed form.
void AppendCollectionString(std::string& out, std::string_view text);
