#include "drawing/library/lib_record_list.h"

#include <string.h>

#include "core/file_utils.h"
#include "drawing/library/lib_file_names.h"
#include "drawing/library/lib_tree_node.h"
#include "drawing/library/library_file_reader.h"
#include "platform/base/byte_reader.h"
#include "platform/base/file_replace.h"

namespace {

const char kIndexMagic[] = "QuorvantixNewImageCacheLibIndexFile";  // 36 bytes with its NUL
const size_t kIndexMagicBytes = sizeof(kIndexMagic);
const uint32_t kIndexVersion = 1;
const size_t kMaxIndexBytes = 256u << 20;

// A text up to its NUL, or up to the end of the bytes when it has none.
CString ReadIndexText(CByteReader& reader)
{
    const uint8_t* start = reader.Here();
    const void* nul = memchr(start, 0, reader.Remaining());
    size_t length = nul ? static_cast<const uint8_t*>(nul) - start : reader.Remaining();
    CString text(reinterpret_cast<const char*>(start), static_cast<int>(length));
    reader.Skip(nul ? length + 1 : length);
    return text;
}

}  // namespace

size_t TLibRecordList::LowerBound(const CString& folder, bool& found) const
{
    size_t low = 0, high = m_records.size();
    while (low < high) {
        size_t middle = low + (high - low) / 2;
        int order = m_records[middle].folder.CompareNoCase(folder);
        if (order == 0) {
            found = true;
            return middle;
        }
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    found = false;
    return low;
}

bool TLibRecordList::Add(const char* folder, const char* library)
{
    CString key = StripTrailingBackslash(folder);
    if (key.IsEmpty() || !library || !*library || key.GetLength() > kMaxLibRecordPath ||
        static_cast<int>(strlen(library)) > kMaxLibRecordPath || !IsLibraryFileName(library))
        return false;
    bool found = false;
    size_t at = LowerBound(key, found);
    if (found) {
        CString& stored = m_records[at].library;
        if (stored.CompareNoCase(library) != 0 && FileExists(stored))
            DeleteFileA(stored);
        stored = library;
        return true;
    }
    m_records.insert(m_records.begin() + at, TLibRecord{key, CString(library)});
    return true;
}

bool TLibRecordList::Remove(const char* folder)
{
    bool found = false;
    size_t at = LowerBound(StripTrailingBackslash(folder), found);
    if (!found)
        return false;
    DeleteFileA(m_records[at].library);
    m_records.erase(m_records.begin() + at);
    return true;
}

const TLibRecord* TLibRecordList::Find(const char* folder) const
{
    bool found = false;
    size_t at = LowerBound(StripTrailingBackslash(folder), found);
    return found ? &m_records[at] : nullptr;
}

const TLibRecord* TLibRecordList::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? &m_records[index] : nullptr;
}

void TLibRecordList::Load(const char* path)
{
    m_records.clear();
    std::vector<uint8_t> bytes;
    if (ReadLibraryFile(path, LibraryShareRead, 1, kMaxIndexBytes, bytes) == LibraryRead)
        Parse(bytes);
}

void TLibRecordList::Parse(const std::vector<uint8_t>& bytes)
{
    m_records.clear();
    CByteReader reader(bytes.data(), bytes.size());
    const uint8_t* magic = reader.Span(kIndexMagicBytes);
    const uint32_t version = reader.U32LE();
    if (!magic || memcmp(magic, kIndexMagic, kIndexMagicBytes) != 0 || !reader.Ok() || version > kIndexVersion)
        return;
    while (!reader.AtEnd()) {
        CString folder = ReadIndexText(reader);
        CString library = ReadIndexText(reader);
        if (!folder.IsEmpty() && !library.IsEmpty())
            Add(folder, library);
    }
}

std::vector<uint8_t> TLibRecordList::Serialise() const
{
    std::vector<uint8_t> out(kIndexMagic, kIndexMagic + kIndexMagicBytes);
    AppendU32(out, kIndexVersion);
    for (const TLibRecord& record : m_records) {
        AppendTreeText(out, record.folder);
        AppendTreeText(out, record.library);
    }
    return out;
}

bool TLibRecordList::Save(const char* path) const
{
    std::vector<uint8_t> bytes = Serialise();
    return ReplaceFileWithBytes(path, bytes.data(), static_cast<DWORD>(bytes.size())) == ReplaceFileDone;
}
